#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <limits>

// What came of reading one picture file: the picture, or the reason there is none. A decoder
// may also complain of a file it still makes a picture of, such as one whose data ends early:
// the picture then shows as far as it could be decoded.
struct PictureFile
{
    // The picture, or as much of its top-left part as was asked for.
    QImage image = {};
    // The whole picture's size in pixels, whatever part of it was decoded.
    QSize size = {};
    QString error = {};
    QString complaint = {};
    // The picture has more pixels than the caller would wait for: nothing was decoded.
    bool overPixelLimit = false;
    // The file could not be opened, for the error's reason: a reason that may pass with nothing
    // changed in the file, as when another program lets go of a file it held open.
    bool openFailed = false;
};

// Reads a picture file and decodes it. Called on any thread, for one file at a time per call.
class PictureLoader
{
public:
    static constexpr qint64 noLimit = std::numeric_limits<qint64>::max();

    virtual ~PictureLoader() = default;

    // Decodes no more than the top-left part of the given size (of all of it where the format
    // cannot decode a part). A picture of more than mostPixels pixels is not decoded at all: the
    // result says it is over that limit.
    virtual PictureFile load(const QString &fileName, QSize part, qint64 mostPixels) const = 0;
};

// Reads the file from disk and recognises its format by its content. Only a regular file is
// opened: a named pipe, a socket or a device could keep the reader waiting for good. A picture
// whose decoded size would pass maxDecodedBytes is refused from its header, before anything is
// decoded. What Qt's decoders would write on the warning channel during a read comes back in
// the result instead.
class DiskPictureLoader final : public PictureLoader
{
public:
    static constexpr qint64 maxDecodedBytes = 128LL * 1024 * 1024;

    DiskPictureLoader();
    PictureFile load(const QString &fileName, QSize part, qint64 mostPixels) const override;
};
