#include "icofile.h"

#include "bytewriter.h"

namespace {

constexpr int directorySize = 6;
constexpr int entrySize = 16;
constexpr int infoHeaderSize = 40;

int rowBytes(int width, int bitCount)
{
    return ((width * bitCount + 31) / 32) * 4;
}

// Packs rows of small values (bitCount bits each, leftmost pixel in the high bits), bottom row
// first, each row padded to four bytes: the layout of a device-independent bitmap.
QByteArray packRows(const std::vector<uint8_t> &values, int width, int height, int bitCount)
{
    const int stride = rowBytes(width, bitCount);
    QByteArray bits(static_cast<qsizetype>(stride) * height, '\0');
    const int perByte = 8 / bitCount;
    for (int y = 0; y < height; ++y) {
        char *row = bits.data() + static_cast<qsizetype>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const int value = values[static_cast<size_t>(y * width + x)];
            const int shift = (perByte - 1 - x % perByte) * bitCount;
            row[x / perByte] = static_cast<char>(row[x / perByte] | (value << shift));
        }
    }
    return bits;
}

QByteArray encodeImage(const IconImage &image)
{
    const QByteArray colourBits =
        packRows(image.indices, image.width, image.height, image.bitCount);
    const QByteArray maskBits = packRows(image.mask, image.width, image.height, 1);
    ByteWriter out;
    out.u32(infoHeaderSize);
    out.i32(image.width);
    out.i32(image.height * 2); // the colour bitmap and the mask, one above the other
    out.u16(1); // planes
    out.u16(static_cast<uint16_t>(image.bitCount));
    out.u32(0); // BI_RGB
    out.u32(static_cast<uint32_t>(colourBits.size() + maskBits.size()));
    out.i32(0); // horizontal resolution
    out.i32(0); // vertical resolution
    out.u32(0); // colours used: all of them
    out.u32(0); // important colours: all of them
    for (const QRgb colour : image.palette) {
        out.u8(static_cast<uint8_t>(qBlue(colour)));
        out.u8(static_cast<uint8_t>(qGreen(colour)));
        out.u8(static_cast<uint8_t>(qRed(colour)));
        out.u8(0);
    }
    out.bytes(colourBits);
    out.bytes(maskBits);
    return out.data();
}

} // namespace

IconImage toIconImage(const QImage &picture, int bitCount, const Palette &palette)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    IconImage image;
    image.width = argb.width();
    image.height = argb.height();
    image.bitCount = bitCount;
    image.palette = palette;
    image.palette.resize(size_t {1} << bitCount, qRgb(0, 0, 0));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const QRgb pixel = argb.pixel(x, y);
            const bool opaque = qAlpha(pixel) >= 128;
            image.indices.push_back(
                opaque ? static_cast<uint8_t>(nearestIndex(image.palette, pixel)) : 0);
            image.mask.push_back(opaque ? 0 : 1);
        }
    }
    return image;
}

QByteArray encodeIconFile(const std::vector<IconImage> &images, IconFileType type)
{
    std::vector<QByteArray> encoded;
    for (const IconImage &image : images)
        encoded.push_back(encodeImage(image));

    ByteWriter out;
    out.u16(0); // reserved
    out.u16(static_cast<uint16_t>(type));
    out.u16(static_cast<uint16_t>(images.size()));
    uint32_t offset = directorySize + entrySize * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImage &image = images[i];
        out.u8(static_cast<uint8_t>(image.width >= 256 ? 0 : image.width));
        out.u8(static_cast<uint8_t>(image.height >= 256 ? 0 : image.height));
        out.u8(static_cast<uint8_t>(image.bitCount >= 8 ? 0 : 1 << image.bitCount));
        out.u8(0); // reserved
        if (type == IconFileType::Cursor) {
            out.u16(static_cast<uint16_t>(image.hotSpot.x()));
            out.u16(static_cast<uint16_t>(image.hotSpot.y()));
        } else {
            out.u16(1); // planes
            out.u16(static_cast<uint16_t>(image.bitCount));
        }
        out.u32(static_cast<uint32_t>(encoded[i].size()));
        out.u32(offset);
        offset += static_cast<uint32_t>(encoded[i].size());
    }
    for (const QByteArray &data : encoded)
        out.bytes(data);
    return out.data();
}
