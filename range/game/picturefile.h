#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <atomic>

// What tells one content of a file from another without reading it: its size, its times and,
// where the system numbers its files, that number. Only a regular file has one; for anything
// else it says why it cannot be read.
struct FileStamp
{
    bool regular = false;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0;
    qint64 identity = 0;
    QString refusal = {}; // why what stands under the name is not a file to read

    static FileStamp of(const QString &fileName);
    bool operator==(const FileStamp &) const = default;
};

// What came of reading a picture file for a hole: the part of the picture that can be seen, as
// photo viewers show it, or the reason there is none.
struct PictureFile
{
    // The top-left part of the picture, upright and in sRGB, 32 bits a pixel.
    QImage image = {};
    // The whole picture's size, upright, whatever part of it was decoded.
    QSize size = {};
    // The file as it was read.
    FileStamp stamp = {};
    QString error = {};
    // What the decoder said of a picture it still made, such as one whose data ends early.
    QString complaint = {};
    // The file could not be opened, for a reason that may pass with nothing changed in it, as
    // when another program lets go of a file it held open.
    bool openFailed = false;
};

namespace PictureReading {

// The most decoding one picture may allocate: the decoder's own buffers (a progressive JPEG's
// coefficients of the whole picture among them) and the picture it makes.
inline constexpr qint64 mostDecodingBytes = 128LL * 1024 * 1024;
// The most pixels a side may have: JPEG's own limit. A header that claims more is refused.
inline constexpr int longestSide = 65535;

// Reads the picture in the file as far as the part of the given size from its upright top-left
// corner, decoding no more of it where the format allows. Only a regular file is opened: a
// named pipe, a socket or a device could keep the reader waiting for good. A picture whose
// decoding would allocate more than mostDecodingBytes is refused from its header. Once `stop` is
// set, the decoder gets nothing more from the file and the reading ends early, with an error.
// Any thread may call it.
PictureFile read(const QString &fileName, QSize part, const std::atomic_bool &stop);

// Makes what Qt's image decoders say while a picture is read part of its result (the
// complaint), instead of the program's output. Process-wide: call where the program starts; a
// second call changes nothing.
void collectDecoderMessages();

} // namespace PictureReading
