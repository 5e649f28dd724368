#include "targetpictures.h"

#include "pictureset.h"

#include <QImageReader>
#include <QLoggingCategory>

namespace {
constexpr qint64 bytesPerPixel = 4; // decoded pictures are 32 bits a pixel
constexpr int bytesPerMebibyte = 1024 * 1024;
} // namespace

DiskPictureLoader::DiskPictureLoader()
{
    QImageReader::setAllocationLimit(static_cast<int>(maxDecodedBytes / bytesPerMebibyte));
}

PictureFile DiskPictureLoader::load(const QString &fileName)
{
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
    if (image.isNull())
        return {{}, reader.errorString()};
    return {std::move(image), {}};
}

TargetPictures::TargetPictures(PictureLoader &loader, QImage fallback)
    : m_loader(loader), m_fallback(std::move(fallback))
{
}

QImage TargetPictures::picture(qint16 number)
{
    const QString fileName = PictureSet::fileName(number);
    PictureFile file = m_loader.load(fileName);
    if (!file.image.isNull())
        return std::move(file.image);
    if (!m_warnedFiles.contains(fileName)) {
        m_warnedFiles.insert(fileName);
        qWarning().noquote().nospace() << "Target picture " << fileName << " cannot be shown ("
                                       << file.error << "); the built-in target stands in for it.";
    }
    return m_fallback;
}
