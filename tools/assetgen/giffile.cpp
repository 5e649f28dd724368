#include "giffile.h"

#include "bytewriter.h"

#include <stdexcept>
#include <unordered_map>

namespace {

constexpr int maxCodes = 4096;
constexpr int maxCodeSize = 12;

// Collects variable-width codes, least significant bit first, into bytes.
class BitPacker
{
public:
    void write(int code, int size)
    {
        m_buffer |= static_cast<uint32_t>(code) << m_bitCount;
        m_bitCount += size;
        while (m_bitCount >= 8) {
            m_bytes.append(static_cast<char>(m_buffer & 0xff));
            m_buffer >>= 8;
            m_bitCount -= 8;
        }
    }

    QByteArray finish()
    {
        if (m_bitCount > 0)
            m_bytes.append(static_cast<char>(m_buffer & 0xff));
        m_buffer = 0;
        m_bitCount = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    uint32_t m_buffer = 0;
    int m_bitCount = 0;
};

QByteArray compress(const std::vector<uint8_t> &indices, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitPacker packer;
    std::unordered_map<int, int> table; // (prefix code << 8 | next index) -> code
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;

    packer.write(clearCode, codeSize);
    int prefix = indices.front();
    for (size_t i = 1; i < indices.size(); ++i) {
        const int key = (prefix << 8) | indices[i];
        if (const auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        packer.write(prefix, codeSize);
        table.emplace(key, nextCode);
        if (nextCode == (1 << codeSize) && codeSize < maxCodeSize)
            ++codeSize;
        ++nextCode;
        if (nextCode == maxCodes) {
            packer.write(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = indices[i];
    }
    packer.write(prefix, codeSize);
    // The decoder adds one more table entry on reading the last code and may widen its codes.
    if (nextCode == (1 << codeSize) && codeSize < maxCodeSize)
        ++codeSize;
    packer.write(endCode, codeSize);
    return packer.finish();
}

int tableBits(size_t colours)
{
    for (int bits = 1; bits <= 8; ++bits) {
        if (colours == (size_t {1} << bits))
            return bits;
    }
    throw std::invalid_argument("a GIF colour table has 2, 4, 8, ..., 256 colours");
}

} // namespace

QByteArray encodeGif(int width, int height, const Palette &palette,
                     const std::vector<uint8_t> &indices)
{
    const int bits = tableBits(palette.size());
    ByteWriter out;
    out.bytes(QByteArrayLiteral("GIF89a"));
    out.u16(static_cast<uint16_t>(width));
    out.u16(static_cast<uint16_t>(height));
    out.u8(static_cast<uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1))); // global table
    out.u8(0); // background colour index
    out.u8(0); // pixel aspect ratio: square
    for (const QRgb colour : palette) {
        out.u8(static_cast<uint8_t>(qRed(colour)));
        out.u8(static_cast<uint8_t>(qGreen(colour)));
        out.u8(static_cast<uint8_t>(qBlue(colour)));
    }

    out.u8(0x2c); // image descriptor
    out.u16(0);
    out.u16(0);
    out.u16(static_cast<uint16_t>(width));
    out.u16(static_cast<uint16_t>(height));
    out.u8(0); // no local table, not interlaced

    const int minCodeSize = bits < 2 ? 2 : bits;
    out.u8(static_cast<uint8_t>(minCodeSize));
    const QByteArray data = compress(indices, minCodeSize);
    for (qsizetype start = 0; start < data.size(); start += 255) {
        const QByteArray block = data.mid(start, 255);
        out.u8(static_cast<uint8_t>(block.size()));
        out.bytes(block);
    }
    out.u8(0); // end of the image data
    out.u8(0x3b); // trailer
    return out.data();
}
