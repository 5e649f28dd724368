#pragma once

#include "fallbacktarget.h"
#include "keptpictures.h"
#include "sidedecoder.h"

#include <QObject>
#include <QSize>

#include <optional>

class PictureLoader;

// The target pictures as a wave shows them, by number. Only the part of a picture that can be
// seen is decoded. A picture of many pixels, such as a phone photo, would hold up the game
// while it decodes: it is decoded on the side instead and comes with ready(). Decoded pictures
// are kept, so that a picture drawn again shows at once, and prefetch() decodes them all ahead
// of the first wave. When more can be seen, the pictures kept in part are decoded again for
// the new size, ahead of need; until then the part there is shows.
class TargetPictures : public QObject
{
    Q_OBJECT

public:
    // The most pixels a picture may have to be decoded while the game waits for it.
    static constexpr qint64 mostPixelsAtOnce = 512 * 1024;

    TargetPictures(const PictureLoader &loader, QString fallbackFile, QObject *parent = nullptr);

    // How much of a picture can be seen from its top-left corner; no more of it is decoded.
    void setVisibleSize(QSize size);

    // The picture for the number now, or none yet: it then comes with ready(). A picture kept
    // in a part smaller than can be seen now shows, and comes again larger with ready().
    std::optional<TargetPicture> picture(qint16 number);
    // Decodes the pictures 0 to count-1 on the side and keeps them.
    void prefetch(qint16 count);

signals:
    void ready(qint16 number, const TargetPicture &picture);

private:
    PictureRequest request(qint16 number) const;
    void decoded(const PictureRequest &request, const FileStamp &stamp, const PictureFile &file);

    const PictureLoader &m_loader;
    QSize m_visible;
    qint16 m_count = 0;
    KeptPictures m_kept;
    FallbackTarget m_fallback;
    // Declared last, so that its decoding is done before what it hands pictures to is gone.
    SideDecoder m_decoder;
};
