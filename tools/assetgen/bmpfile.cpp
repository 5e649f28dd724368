#include "bmpfile.h"

#include "bytewriter.h"

namespace {

constexpr uint32_t fileHeaderSize = 14;
constexpr uint32_t infoHeaderSize = 40;

} // namespace

QByteArray encodeBmp24(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const int stride = ((rgb.width() * 3 + 3) / 4) * 4;
    const auto pixelBytes = static_cast<uint32_t>(stride * rgb.height());

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(fileHeaderSize + infoHeaderSize + pixelBytes);
    out.u16(0); // reserved
    out.u16(0); // reserved
    out.u32(fileHeaderSize + infoHeaderSize); // offset of the pixels

    out.u32(infoHeaderSize);
    out.i32(rgb.width());
    out.i32(rgb.height()); // positive: bottom row first
    out.u16(1); // planes
    out.u16(24);
    out.u32(0); // BI_RGB
    out.u32(pixelBytes);
    out.i32(2835); // 72 dots per inch
    out.i32(2835);
    out.u32(0); // colours used
    out.u32(0); // important colours

    for (int y = rgb.height() - 1; y >= 0; --y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            out.u8(static_cast<uint8_t>(qBlue(pixel)));
            out.u8(static_cast<uint8_t>(qGreen(pixel)));
            out.u8(static_cast<uint8_t>(qRed(pixel)));
        }
        out.zeros(stride - rgb.width() * 3);
    }
    return out.data();
}
