#pragma once

#include "pictureloader.h"

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>

#include <optional>

// A target as a hole shows it: the top-left part of the picture that can be seen, and the size
// of the whole picture, which the hole takes.
struct TargetPicture
{
    QImage image;
    QSize size;
};

// The target pictures as a wave shows them: the numbered file when it can be shown, the
// built-in fallback target when it cannot. Each file that cannot be shown, or that the decoder
// complained of, is named once on the warning channel, with the reason, however often it is
// drawn.
//
// Only the part of a picture that can be seen is decoded. A picture of many pixels, such as a
// phone photo, would still hold up the game while it decodes: it is decoded on a thread of its
// own instead and comes with ready(). Decoded pictures are kept, up to keptBytes, for as long
// as their file keeps its size and times, so that a picture drawn again shows at once; and
// prefetch() decodes them all ahead of the first wave.
class TargetPictures : public QObject
{
    Q_OBJECT

public:
    // The most pixels a picture may have to be decoded while the game waits for it.
    static constexpr qint64 mostPixelsAtOnce = 512 * 1024;
    // The most bytes of decoded pictures kept for reuse.
    static constexpr int keptBytes = 64 * 1024 * 1024;

    TargetPictures(const PictureLoader &loader, QString fallbackFile, QObject *parent = nullptr);
    ~TargetPictures() override;

    // How much of a picture can be seen from its top-left corner; no more of it is decoded.
    void setVisibleSize(QSize size) { m_visible = size; }

    // The picture for the number now, or none yet: it then comes with ready().
    std::optional<TargetPicture> picture(qint16 number);
    // Decodes the pictures 0 to count-1 on the side and keeps them.
    void prefetch(qint16 count);

signals:
    void ready(qint16 number, const TargetPicture &picture);

private:
    // What tells one content of a file from another without reading it.
    struct FileStamp
    {
        bool regular = false;
        qint64 size = 0;
        qint64 modified = 0;
        qint64 changed = 0;
        qint64 identity = 0; // where the system tells one file from another by a number

        static FileStamp of(const QString &fileName);
        bool operator==(const FileStamp &) const = default;
    };
    struct Kept
    {
        FileStamp stamp;
        QSize part;
        PictureFile file;
    };

    const Kept *kept(const QString &fileName, const FileStamp &stamp) const;
    void keep(const QString &fileName, const FileStamp &stamp, QSize part, const PictureFile &file);
    void decodeOnTheSide(qint16 number);
    void decoded(qint16 number, const FileStamp &stamp, QSize part, const PictureFile &file);
    TargetPicture shown(const QString &fileName, const PictureFile &file);
    void warnOnce(const QString &fileName, const QString &what);
    const QImage &fallback();

    const PictureLoader &m_loader;
    QString m_fallbackFile;
    QImage m_fallback;
    QSize m_visible;
    QSet<QString> m_warnedFiles;
    QCache<QString, Kept> m_kept {keptBytes};
    QSet<qint16> m_decoding;
    // Declared last, so that it is gone, its decoding done, before what it uses.
    QThreadPool m_decoder;
};
