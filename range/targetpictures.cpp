#include "targetpictures.h"

#include "pictureset.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

namespace {
constexpr qint64 bytesPerPixel = 4; // decoded pictures are 32 bits a pixel
constexpr int bytesPerMebibyte = 1024 * 1024;

// Collects, while it lives, the warnings Qt's image decoders write on their logging categories,
// so that a damaged file drawn again and again is not reported at every read. Every other
// message goes on to the handler that was in place. Pictures are read on the user-interface
// thread only, one at a time.
class DecoderMessages
{
public:
    DecoderMessages() : m_previous(qInstallMessageHandler(&DecoderMessages::handle))
    {
        s_current = this;
    }
    ~DecoderMessages()
    {
        s_current = nullptr;
        qInstallMessageHandler(m_previous);
    }
    DecoderMessages(const DecoderMessages &) = delete;
    DecoderMessages &operator=(const DecoderMessages &) = delete;

    QString text() const { return m_messages.join(u"; "); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        const bool fromDecoder = type != QtDebugMsg && type != QtInfoMsg && context.category
            && QLatin1StringView(context.category).startsWith(QLatin1StringView("qt.gui.imageio"));
        if (fromDecoder)
            s_current->m_messages.append(message);
        else
            s_current->m_previous(type, context, message);
    }

    static inline DecoderMessages *s_current = nullptr;
    QtMessageHandler m_previous;
    QStringList m_messages;
};

// Qt says "File not found" of every file it cannot open; this tells the player which it is.
QString whyUnopened(const QString &fileName, const QString &qtReason)
{
    const QFileInfo file(fileName);
    if (file.isDir())
        return QStringLiteral("it is a folder");
    if (file.exists() && !file.isReadable())
        return QStringLiteral("there is no permission to read it");
    return qtReason;
}
} // namespace

DiskPictureLoader::DiskPictureLoader()
{
    QImageReader::setAllocationLimit(static_cast<int>(maxDecodedBytes / bytesPerMebibyte));
}

PictureFile DiskPictureLoader::load(const QString &fileName)
{
    const DecoderMessages decoder;
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * bytesPerPixel > maxDecodedBytes) {
        return {{},
                QStringLiteral("the picture is too large (%1 x %2 pixels)")
                    .arg(size.width())
                    .arg(size.height())};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (reader.error() == QImageReader::FileNotFoundError)
            return {{}, whyUnopened(fileName, reader.errorString())};
        const QString said = decoder.text();
        return {{}, said.isEmpty() ? reader.errorString() : reader.errorString() + u": " + said};
    }
    return {std::move(image), {}, decoder.text()};
}

TargetPictures::TargetPictures(PictureLoader &loader, QString fallbackFile)
    : m_loader(loader), m_fallbackFile(std::move(fallbackFile))
{
}

const QImage &TargetPictures::fallback()
{
    if (m_fallback.isNull())
        m_fallback = QImage(m_fallbackFile);
    return m_fallback;
}

QImage TargetPictures::picture(qint16 number)
{
    const QString fileName = PictureSet::fileName(number);
    PictureFile file = m_loader.load(fileName);
    if (!file.image.isNull()) {
        if (!file.complaint.isEmpty())
            warnOnce(fileName,
                     u"was read with complaints (" + file.complaint
                         + u"); it is shown as far as it could be decoded.");
        return std::move(file.image);
    }
    warnOnce(fileName,
             u"cannot be shown (" + file.error + u"); the built-in target stands in for it.");
    return fallback();
}

void TargetPictures::warnOnce(const QString &fileName, const QString &what)
{
    if (m_warnedFiles.contains(fileName))
        return;
    m_warnedFiles.insert(fileName);
    qWarning().noquote().nospace() << "Target picture " << fileName << ' ' << what;
}
