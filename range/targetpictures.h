#pragma once

#include <QImage>
#include <QSet>
#include <QString>
#include <QtGlobal>

// What came of reading one picture file: the picture, or the reason there is none. A decoder
// may also complain of a file it still makes a picture of, such as one whose data ends early:
// the picture then shows as far as it could be decoded.
struct PictureFile
{
    QImage image;
    QString error;
    QString complaint = {};
};

// Reads a picture file and decodes it.
class PictureLoader
{
public:
    virtual ~PictureLoader() = default;
    virtual PictureFile load(const QString &fileName) = 0;
};

// Reads the file from disk on every call (nothing is cached) and recognises its format by its
// content. A picture whose decoded size would pass maxDecodedBytes is refused from its header,
// before anything is decoded; Qt's own allocation limit is set to the same figure. What Qt's
// decoders would write on the warning channel during a read comes back in the result instead.
class DiskPictureLoader final : public PictureLoader
{
public:
    static constexpr qint64 maxDecodedBytes = 128LL * 1024 * 1024;

    DiskPictureLoader();
    PictureFile load(const QString &fileName) override;
};

// The target pictures as a wave shows them: the numbered file when it can be shown, the
// built-in fallback target when it cannot. Each file that cannot be shown, or that the decoder
// complained of, is named once on the warning channel, with the reason, however often it is
// drawn.
class TargetPictures
{
public:
    // The fallback target is read from its file the first time a picture fails.
    TargetPictures(PictureLoader &loader, QString fallbackFile);

    QImage picture(qint16 number);

private:
    void warnOnce(const QString &fileName, const QString &what);
    const QImage &fallback();

    PictureLoader &m_loader;
    QString m_fallbackFile;
    QImage m_fallback;
    QSet<QString> m_warnedFiles;
};
