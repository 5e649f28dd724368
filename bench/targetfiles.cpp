#include "targetfiles.h"

#include "pictureset.h"

#include <QDir>
#include <QImage>

#include <cmath>

#include <random>

namespace {
constexpr int jpegQuality = 85;

// One row of the picture: a diagonal colour ramp with a soft ring and a little grain.
void paintRow(QImage &image, int y, std::mt19937 &grain, int seed)
{
    const QSize size = image.size();
    auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
    std::uniform_int_distribution<int> noise(-12, 12);
    const double cy = (y - size.height() / 2.0) / size.height();
    for (int x = 0; x < size.width(); ++x) {
        const double cx = (x - size.width() / 2.0) / size.width();
        const double ring = 0.5 + 0.5 * std::sin(18.0 * std::sqrt(cx * cx + cy * cy) + seed);
        const int r = static_cast<int>(255.0 * x / size.width() * ring) + noise(grain);
        const int g = static_cast<int>(255.0 * y / size.height()) + noise(grain);
        const int b = static_cast<int>(200.0 * ring) + noise(grain);
        row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
    }
}
} // namespace

bool writePhotoLikeJpeg(const QString &path, QSize size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 grain(static_cast<unsigned>(seed));
    for (int y = 0; y < size.height(); ++y)
        paintRow(image, y, grain, seed);
    return image.save(path, "JPEG", jpegQuality);
}

TargetFolder::TargetFolder(int count, QSize size) : m_size(size)
{
    m_valid = m_dir.isValid() && QDir(m_dir.path()).mkpath(QStringLiteral("pix"));
    for (int number = 0; m_valid && number < count; ++number)
        m_valid = writePhotoLikeJpeg(m_dir.filePath(PictureSet::fileName(number)), size, number);
}

QString TargetFolder::firstPicture() const
{
    return PictureSet::fileName(0);
}

void TargetFolder::enter() const
{
    QDir::setCurrent(m_dir.path());
}
