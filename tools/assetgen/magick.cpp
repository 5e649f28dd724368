#include "magick.h"

#include <Magick++.h>

namespace {

Magick::Image reduced(const QImage &picture, int colours)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGBX8888);
    Magick::Image image(rgb.width(), rgb.height(), "RGBP", Magick::CharPixel, rgb.constBits());
    image.quantizeDither(false);
    image.quantizeColors(colours);
    image.quantize();
    return image;
}

} // namespace

QList<QRgb> reducedColours(const QImage &picture, int count)
{
    const Magick::Image image = reduced(picture, count);
    QList<QRgb> colours;
    for (size_t i = 0; i < image.colorMapSize(); ++i) {
        const Magick::ColorRGB colour = image.colorMap(i);
        colours << qRgb(qRound(colour.red() * 255), qRound(colour.green() * 255),
                        qRound(colour.blue() * 255));
    }
    return colours;
}

void saveGif(const QImage &picture, const QString &path, int colours)
{
    Magick::Image gif = reduced(picture, colours);
    gif.magick("GIF");
    gif.write(path.toStdString());
}
