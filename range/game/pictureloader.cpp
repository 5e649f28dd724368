#include "pictureloader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 bytesPerPixel = 4; // decoded pictures are 32 bits a pixel
constexpr int bytesPerMebibyte = 1024 * 1024;

// Collects, while it lives, the warnings Qt's image decoders write on their logging categories
// on this thread, so that a damaged file drawn again and again is not reported at every read.
// The handler is installed once; every message that is not a decoder's on a reading thread
// goes on to the handler that was in place.
class DecoderMessages
{
public:
    DecoderMessages()
    {
        (void)previousHandler();
        t_current = this;
    }
    ~DecoderMessages() { t_current = nullptr; }
    DecoderMessages(const DecoderMessages &) = delete;
    DecoderMessages &operator=(const DecoderMessages &) = delete;

    QString text() const { return m_messages.join(u"; "); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        const bool fromDecoder = t_current && type != QtDebugMsg && type != QtInfoMsg
            && context.category
            && QLatin1StringView(context.category).startsWith("qt.gui.imageio"_L1);
        if (fromDecoder)
            t_current->m_messages.append(message);
        else if (const QtMessageHandler previous = previousHandler())
            previous(type, context, message);
    }

    static QtMessageHandler previousHandler()
    {
        static const QtMessageHandler previous = qInstallMessageHandler(&DecoderMessages::handle);
        return previous;
    }

    static inline thread_local DecoderMessages *t_current = nullptr;
    QStringList m_messages;
};

const QString notFound = u"File not found"_s;

#ifdef Q_OS_UNIX
const QString noPermission = u"there is no permission to read it"_s;

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

// Opens the file when it is a regular one, and says why not otherwise. The file is opened
// without waiting, so that a pipe is refused, not waited on, and looked at through what was
// opened, so that nothing can take its place between the look and the read.
QString openRegularFile(QFile &file, const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat status = {};
        if (::stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode))
            return kindOf(status.st_mode);
        if (error == ENOENT)
            return notFound;
        if (error == EACCES)
            return noPermission;
        return QString::fromLocal8Bit(std::strerror(error));
    }
    struct stat status = {};
    const QString kind = ::fstat(fd, &status) == 0 ? kindOf(status.st_mode) : notFound;
    if (!kind.isEmpty() || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return kind.isEmpty() ? file.errorString() : kind;
    }
    return {};
}
#else
QString openRegularFile(QFile &file, const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.isDir())
        return u"it is a folder"_s;
    if (info.exists() && !info.isFile())
        return u"it is not a regular file"_s;
    file.setFileName(fileName);
    // The system's own reason: a file that exists may also be held open by another program.
    if (!file.open(QIODevice::ReadOnly))
        return info.exists() ? file.errorString() : notFound;
    return {};
}
#endif
} // namespace

DiskPictureLoader::DiskPictureLoader()
{
    QImageReader::setAllocationLimit(static_cast<int>(maxDecodedBytes / bytesPerMebibyte));
}

PictureFile DiskPictureLoader::load(const QString &fileName, QSize part, qint64 mostPixels) const
{
    QFile file;
    if (QString refused = openRegularFile(file, fileName); !refused.isEmpty())
        return {.error = std::move(refused), .openFailed = true};

    const DecoderMessages decoder;
    QImageReader reader(&file);
    const QSize size = reader.size();
    const qint64 pixels = size.isValid() ? qint64(size.width()) * size.height() : 0;
    if (pixels * bytesPerPixel > maxDecodedBytes) {
        return {.size = size,
                .error = u"the picture is too large (%1 x %2 pixels)"_s.arg(size.width())
                             .arg(size.height())};
    }
    if (pixels > mostPixels)
        return {.size = size, .overPixelLimit = true};
    // Only the part that can be seen is decoded, where the format can decode a part.
    const QSize seen = size.boundedTo(part);
    if (size.isValid() && !part.isEmpty() && seen != size)
        reader.setClipRect(QRect(QPoint(0, 0), seen));

    QImage image = reader.read();
    if (image.isNull()) {
        const QString said = decoder.text();
        return {.size = size,
                .error =
                    said.isEmpty() ? reader.errorString() : reader.errorString() + u": " + said};
    }
    const QSize whole = size.isValid() ? size : image.size();
    return {.image = std::move(image), .size = whole, .complaint = decoder.text()};
}
