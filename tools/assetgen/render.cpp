#include "render.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "assetgen: %s\n", qPrintable(message));
    std::exit(1);
}

QByteArray encodeWithQt(const QImage &picture, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(picture))
        fail(QStringLiteral("cannot encode %1: %2")
                 .arg(QString::fromLatin1(format), writer.errorString()));
    return bytes;
}

} // namespace

QImage renderSupersampled(int width, int height, int factor, const QColor &background,
                          const std::function<void(QPainter &)> &paint)
{
    QImage large(width * factor, height * factor, QImage::Format_ARGB32_Premultiplied);
    large.fill(background);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(factor, factor);
        paint(painter);
    }
    return large.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPainterPath ellipsePath(QPointF centre, double radiusX, double radiusY)
{
    QPainterPath path;
    path.addEllipse(centre, radiusX, radiusY);
    return path;
}

QColor mix(const QColor &from, const QColor &to, double t)
{
    const auto channel = [t](int a, int b) {
        return static_cast<int>(a + (b - a) * t + 0.5);
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()), channel(from.alpha(), to.alpha()));
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        fail(QStringLiteral("cannot write %1").arg(path));
}

void saveJpeg(const QImage &picture, const QString &path, int quality)
{
    writeFile(path, encodeWithQt(picture.convertToFormat(QImage::Format_RGB32), "jpg", quality));
}

void savePng(const QImage &picture, const QString &path)
{
    const QImage image = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_ARGB32)
                                                   : picture.convertToFormat(QImage::Format_RGB32);
    writeFile(path, encodeWithQt(image, "png", -1));
}
