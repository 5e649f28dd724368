#include "picturefile.h"

#include <QColorSpace>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRectF>
#include <QStringList>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString notFound = u"File not found"_s;
constexpr qint64 mebibyte = 1024 * 1024;
// The rows of the whole width a decoder works on at a time, at most: JPEG's decoder smooths the
// colour of each row of blocks from the rows on either side.
constexpr int workingRows = 48;

#ifdef Q_OS_UNIX
// What a file that is not a regular one is, in the player's words; empty for a regular file.
QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return u"it is a folder"_s;
    if (S_ISFIFO(mode))
        return u"it is a named pipe"_s;
    if (S_ISSOCK(mode))
        return u"it is a socket"_s;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return u"it is a device"_s;
    return u"it is not a regular file"_s;
}

QString reasonOf(int error)
{
    if (error == ENOENT)
        return notFound;
    if (error == EACCES)
        return u"there is no permission to read it"_s;
    return QString::fromLocal8Bit(std::strerror(error));
}

FileStamp stampOf(const struct stat &status)
{
    // Straight from the file system: QFileInfo would turn each time into local time first.
    const auto nanoseconds = [](timespec time) {
        return time.tv_sec * 1'000'000'000LL + time.tv_nsec;
    };
    if (const QString kind = kindOf(status.st_mode); !kind.isEmpty())
        return {.refusal = kind};
    return {.regular = true,
            .size = status.st_size,
            .modified = nanoseconds(status.st_mtim),
            .changed = nanoseconds(status.st_ctim),
            .identity = qint64(status.st_ino)};
}

// Opens the file when it is a regular one, and says why not otherwise. The file is opened
// without waiting, so that a pipe is refused, not waited on, and looked at through what was
// opened, so that nothing can take its place between the look and the read.
FileStamp openRegular(QFile &file, const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const FileStamp there = FileStamp::of(fileName);
        return {.refusal =
                    there.regular || there.refusal.isEmpty() ? reasonOf(error) : there.refusal};
    }
    struct stat status = {};
    FileStamp stamp = ::fstat(fd, &status) == 0 ? stampOf(status) : FileStamp {.refusal = notFound};
    if (stamp.regular && !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        stamp = {.refusal = file.errorString()};
    if (!file.isOpen())
        ::close(fd);
    return stamp;
}
#else
FileStamp openRegular(QFile &file, const QString &fileName)
{
    FileStamp stamp = FileStamp::of(fileName);
    file.setFileName(fileName);
    // The system's own reason: a file that exists may also be held open by another program.
    if (stamp.regular && !file.open(QIODevice::ReadOnly))
        stamp = {.refusal = file.errorString()};
    return stamp;
}
#endif

// A file whose reading fails once `stop` is set, so that a decoder working through it soon
// comes to an end.
class StoppableFile final : public QFile
{
public:
    explicit StoppableFile(const std::atomic_bool &stop) : m_stop(stop) { }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        return m_stop ? -1 : QFile::readData(data, maxSize);
    }

private:
    const std::atomic_bool &m_stop;
};

// The warnings Qt's image decoders write on their logging categories while a picture is read on
// this thread, collected once collectDecoderMessages() has put the handler in place.
class DecoderMessages
{
public:
    DecoderMessages() { t_current = this; }
    ~DecoderMessages() { t_current = nullptr; }
    DecoderMessages(const DecoderMessages &) = delete;
    DecoderMessages &operator=(const DecoderMessages &) = delete;

    QString text() const { return m_messages.join(u"; "); }

    static void install()
    {
        static const QtMessageHandler previous = qInstallMessageHandler(&DecoderMessages::handle);
        s_previous = previous;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        const bool fromDecoder = t_current && type != QtDebugMsg && type != QtInfoMsg
            && context.category
            && QLatin1StringView(context.category).startsWith("qt.gui.imageio"_L1);
        if (fromDecoder)
            t_current->m_messages.append(message);
        else if (s_previous)
            s_previous(type, context, message);
    }

    static inline thread_local DecoderMessages *t_current = nullptr;
    static inline QtMessageHandler s_previous = nullptr;
    QStringList m_messages;
};

// What decoding needs of a JPEG beyond the picture it makes: one whose data comes in more than
// one scan (every progressive one) is held whole in the decoder, as the coefficients of all its
// 8 x 8 blocks, before any pixel is made; one of a single scan only a few rows at a time. Read
// from the frame's header (SOF) and the first scan's (SOS).
qint64 jpegDecoderBytes(QFile &file)
{
    if (file.read(2) != "\xff\xd8")
        return 0;
    QByteArray frame;
    bool progressive = false;
    for (char byte = 0; file.getChar(&byte) && uchar(byte) == 0xff;) {
        while (file.getChar(&byte) && uchar(byte) == 0xff) { } // fill bytes
        const int type = uchar(byte);
        const QByteArray lengthBytes = file.read(2);
        // A segment's length counts its own two bytes.
        const int length =
            lengthBytes.size() == 2 ? qFromBigEndian<quint16>(lengthBytes.constData()) : 0;
        if (length < 2)
            return 0;
        const QByteArray segment = file.read(length - 2);
        if (type >= 0xc0 && type <= 0xcf && type != 0xc4 && type != 0xc8 && type != 0xcc) {
            frame = segment;
            progressive = (type & 0x3) == 2;
        }
        if (type != 0xda)
            continue;
        const int count = frame.size() >= 6 ? uchar(frame[5]) : 0;
        const bool oneScan = !progressive && !segment.isEmpty() && uchar(segment[0]) == count;
        if (count == 0 || frame.size() < 6 + 3 * count || oneScan)
            return 0;
        const auto factor = [&frame](int component, int shift) {
            return qMax(1, uchar(frame[7 + 3 * component]) >> shift & 0xf);
        };
        int mostAcross = 1, mostDown = 1;
        for (int c = 0; c < count; ++c) {
            mostAcross = qMax(mostAcross, factor(c, 4));
            mostDown = qMax(mostDown, factor(c, 0));
        }
        // Blocks of 64 coefficients of 2 bytes, in whole units of each component's sampling.
        const auto blocks = [](qint64 pixels, int factor, int most) {
            return ((pixels * factor + 8 * most - 1) / (8 * most) + factor - 1) / factor * factor;
        };
        qint64 total = 0;
        for (int c = 0; c < count; ++c) {
            total +=
                blocks(qFromBigEndian<quint16>(frame.constData() + 3), factor(c, 4), mostAcross)
                * blocks(qFromBigEndian<quint16>(frame.constData() + 1), factor(c, 0), mostDown)
                * 128;
        }
        return total;
    }
    return 0;
}

// The rectangle of the stored picture that shows as the part of the given size at the top-left
// corner of the picture turned upright as the transformation says (mirrored and flipped first,
// then turned a quarter clockwise; or turned a quarter anticlockwise).
QRect storedPart(QSize stored, QImageIOHandler::Transformations turn, QSize part)
{
    const qreal width = stored.width(), height = stored.height();
    const auto back = [&](QPointF point) {
        if (turn == QImageIOHandler::TransformationRotate270)
            return QPointF(width - point.y(), point.x());
        if (turn & QImageIOHandler::TransformationRotate90)
            point = {point.y(), height - point.x()};
        return QPointF(turn & QImageIOHandler::TransformationMirror ? width - point.x() : point.x(),
                       turn & QImageIOHandler::TransformationFlip ? height - point.y() : point.y());
    };
    return QRectF(back({0, 0}), back(QPointF(part.width(), part.height())))
        .normalized()
        .toAlignedRect();
}

} // namespace

FileStamp FileStamp::of(const QString &fileName)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0)
        return {.refusal = reasonOf(errno)};
    return stampOf(status);
#else
    const QFileInfo file(fileName);
    if (file.isDir())
        return {.refusal = u"it is a folder"_s};
    if (!file.exists())
        return {.refusal = notFound};
    if (!file.isFile())
        return {.refusal = u"it is not a regular file"_s};
    return {.regular = true,
            .size = file.size(),
            .modified = file.lastModified().toMSecsSinceEpoch(),
            .changed = file.metadataChangeTime().toMSecsSinceEpoch()};
#endif
}

namespace PictureReading {

void collectDecoderMessages()
{
    DecoderMessages::install();
}

PictureFile read(const QString &fileName, QSize part, const std::atomic_bool &stop)
{
    StoppableFile file(stop);
    const FileStamp stamp = openRegular(file, fileName);
    if (!stamp.regular)
        return {.stamp = stamp, .error = stamp.refusal, .openFailed = true};

    const qint64 decoderBytes = jpegDecoderBytes(file);
    file.seek(0);
    const DecoderMessages decoder;
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const QImageIOHandler::Transformations turn = reader.transformation();
    const QSize upright =
        turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    if (stored.width() > longestSide || stored.height() > longestSide) {
        return {.stamp = stamp,
                .error = u"its header claims %1 x %2 pixels, more than a picture can have"_s
                             .arg(stored.width())
                             .arg(stored.height())};
    }

    // Where the format can decode a part, only the part that can be seen is decoded; otherwise
    // the whole picture, and the part is cut from it.
    const QRect clip = stored.isValid()
        ? storedPart(stored, turn, part.isEmpty() ? upright : upright.boundedTo(part))
        : QRect();
    const bool cuts = reader.supportsOption(QImageIOHandler::ClipRect);
    // A reader that could not read the header may give any value as its format.
    const QImage::Format format = reader.imageFormat();
    const bool knownFormat = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    const int formatBytes =
        knownFormat ? qMax(1, QImage::toPixelFormat(format).bitsPerPixel() / 8) : 8;
    const qint64 seen = qint64(clip.width()) * clip.height();
    // The decoder's buffers, with a few rows of the whole width; the picture it makes; and the
    // part once more where it is turned a quarter or converted to 32 bits a pixel.
    const qint64 bytes = decoderBytes + qint64(stored.width()) * workingRows * 4
        + (cuts ? seen : qint64(stored.width()) * stored.height()) * formatBytes
        + (turn & QImageIOHandler::TransformationRotate90 || formatBytes != 4 ? seen * 4 : 0);
    if (bytes > mostDecodingBytes) {
        return {.size = upright,
                .stamp = stamp,
                .error = u"decoding it would take %1 MiB, more than the %2 MiB a picture may"_s
                             .arg((bytes + mebibyte - 1) / mebibyte)
                             .arg(mostDecodingBytes / mebibyte)};
    }
    if (clip.isValid() && clip.size() != stored)
        reader.setClipRect(clip);

    QImage image = reader.read();
    if (stop)
        return {.stamp = stamp, .error = u"its reading was stopped"_s};
    if (image.isNull()) {
        const QString said = decoder.text();
        return {.size = upright,
                .stamp = stamp,
                .error =
                    said.isEmpty() ? reader.errorString() : reader.errorString() + u": " + said};
    }
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace::SRgb)
        image.convertToColorSpace(QColorSpace::SRgb);
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    const QSize size = stored.isValid() ? upright : image.size();
    return {.image = std::move(image), .size = size, .stamp = stamp, .complaint = decoder.text()};
}

} // namespace PictureReading
