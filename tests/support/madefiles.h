#pragma once

// Picture files made at test time, good and bad: pictures with smooth shades, their encodings,
// random bytes, and JPEG files taken apart and changed segment by segment. Includes a small
// encoder for CMYK JPEG files, which Qt cannot write.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <random>

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Smooth diagonal shades between two colours of the hue, so that a lossy copy stays close to the
// original and a picture can be told from another by its pixels.
inline QImage shadedPicture(QSize size, int hue)
{
    QImage image(size, QImage::Format_RGB32);
    const QColor from = QColor::fromHsv(hue % 360, 200, 230);
    const QColor to = QColor::fromHsv((hue + 60) % 360, 220, 110);
    const int span = std::max(1, size.width() + size.height() - 2);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int t = x + y;
            const auto mix = [&](int a, int b) {
                return a + (b - a) * t / span;
            };
            line[x] = qRgb(mix(from.red(), to.red()), mix(from.green(), to.green()),
                           mix(from.blue(), to.blue()));
        }
    }
    return image;
}

// Blocks of 8 x 8 pixels in colours of the whole circle of hues.
inline QImage blockPicture(QSize blocks)
{
    QImage image(blocks * 8, QImage::Format_RGB32);
    const int count = blocks.width() * blocks.height();
    for (int row = 0; row < blocks.height(); ++row)
        for (int column = 0; column < blocks.width(); ++column) {
            const QColor colour = QColor::fromHsv((row * blocks.width() + column) * 360 / count,
                                                  120 + 40 * (row % 3), 250 - 30 * (column % 4));
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    image.setPixel(column * 8 + x, row * 8 + y, colour.rgb());
        }
    return image;
}

// The picture in a file format Qt writes ("jpeg", "png"), at quality 90.
inline QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? bytes : QByteArray();
}

inline QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 engine(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = static_cast<char>(engine() & 0xff);
    return bytes;
}

namespace Jpeg {

inline constexpr uchar sof0 = 0xc0, sof2 = 0xc2, dht = 0xc4, soi = 0xd8, eoi = 0xd9, sos = 0xda,
                       dqt = 0xdb, app14 = 0xee;

// The segments of the headers that carry a length, up to and including the start of the scan:
// the offset of each one's 0xff.
inline QList<qsizetype> segments(const QByteArray &jpeg)
{
    QList<qsizetype> found;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xff) {
        found.append(at);
        if (uchar(jpeg[at + 1]) == sos)
            break;
        at += 2 + qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    }
    return found;
}

inline uchar marker(const QByteArray &jpeg, qsizetype segment)
{
    return uchar(jpeg[segment + 1]);
}

// The length field of the segment (which counts itself, not the marker).
inline quint16 length(const QByteArray &jpeg, qsizetype segment)
{
    return qFromBigEndian<quint16>(jpeg.constData() + segment + 2);
}

inline void setLength(QByteArray &jpeg, qsizetype segment, quint16 length)
{
    qToBigEndian<quint16>(length, jpeg.data() + segment + 2);
}

// Where the first segment with this marker begins (its 0xff), or -1.
inline qsizetype find(const QByteArray &jpeg, uchar wanted)
{
    for (qsizetype segment : segments(jpeg))
        if (marker(jpeg, segment) == wanted)
            return segment;
    return -1;
}

// The number of components the frame header declares, or -1.
inline int components(const QByteArray &jpeg)
{
    for (uchar frame : {sof0, sof2}) {
        const qsizetype at = find(jpeg, frame);
        if (at >= 0 && at + 9 < jpeg.size())
            return uchar(jpeg[at + 9]);
    }
    return -1;
}

// The same file with another size written into its frame header.
inline QByteArray withClaimedSize(QByteArray jpeg, QSize size)
{
    const qsizetype at = find(jpeg, sof0);
    if (at < 0)
        return {};
    qToBigEndian<quint16>(quint16(size.height()), jpeg.data() + at + 5);
    qToBigEndian<quint16>(quint16(size.width()), jpeg.data() + at + 7);
    return jpeg;
}

// Where the compressed picture data begins, or -1.
inline qsizetype scanData(const QByteArray &jpeg)
{
    const qsizetype at = find(jpeg, sos);
    return at < 0 ? -1 : at + 2 + length(jpeg, at);
}

// The file cut off halfway through its compressed picture data.
inline QByteArray cutInTheScan(const QByteArray &jpeg)
{
    const qsizetype scan = scanData(jpeg);
    return scan < 0 ? QByteArray() : jpeg.left(scan + (jpeg.size() - scan) / 2);
}

// Bits of entropy-coded data, most significant first, with a zero stuffed after every 0xff.
class BitWriter
{
public:
    void put(quint32 bits, int length)
    {
        for (int bit = length - 1; bit >= 0; --bit) {
            m_byte = quint8((m_byte << 1) | ((bits >> bit) & 1));
            if (++m_filled == 8)
                flushByte();
        }
    }
    QByteArray finish()
    {
        while (m_filled != 0)
            put(1, 1); // padding is made of one bits
        return m_bytes;
    }

private:
    void flushByte()
    {
        m_bytes.append(char(m_byte));
        if (m_byte == 0xff)
            m_bytes.append('\0');
        m_byte = 0;
        m_filled = 0;
    }

    QByteArray m_bytes;
    quint8 m_byte = 0;
    int m_filled = 0;
};

inline void appendSegment(QByteArray &jpeg, uchar marker, const QByteArray &body)
{
    jpeg.append(char(0xff)).append(char(marker));
    const quint16 length = quint16(body.size() + 2);
    jpeg.append(char(length >> 8)).append(char(length & 0xff)).append(body);
}

inline QByteArray bigEndian16(int value)
{
    return QByteArray(1, char((value >> 8) & 0xff)) + char(value & 0xff);
}

// A baseline JPEG of four components as prepress programs write CMYK: with Adobe's marker and
// inverted ink values, where 255 is no ink. Every 8 x 8 block of `look` must be of one colour,
// so that only the blocks' DC coefficients carry anything and the encoder stays small; black
// ink is left out, so a decoder shows each block in the colour of `look`.
inline QByteArray cmyk(const QImage &look)
{
    QByteArray jpeg;
    jpeg.append(char(0xff)).append(char(soi));
    // "Adobe", version 100, no flags, colour transform 0: the components are C, M, Y and K.
    appendSegment(jpeg, app14, QByteArray("Adobe\x00\x64\x00\x00\x00\x00\x00", 12));
    // One quantization table of eights: a flat block's DC coefficient is its level less 128.
    appendSegment(jpeg, dqt, QByteArray(1, '\0') + QByteArray(64, '\x08'));
    QByteArray frame(1, '\x08');
    frame.append(bigEndian16(look.height())).append(bigEndian16(look.width())).append('\x04');
    for (char id = 1; id <= 4; ++id)
        frame.append(id).append('\x11').append('\0'); // no subsampling, quantization table 0
    appendSegment(jpeg, sof0, frame);
    // DC table 0: the twelve size categories, each a four-bit code equal to the category. AC
    // table 0: only the end of block, a one-bit 0.
    QByteArray tables(1, '\x00');
    tables.append(QByteArray(3, '\0')).append('\x0c').append(QByteArray(12, '\0'));
    for (char category = 0; category < 12; ++category)
        tables.append(category);
    tables.append('\x10').append('\x01').append(QByteArray(15, '\0')).append('\0');
    appendSegment(jpeg, dht, tables);
    appendSegment(jpeg, sos, QByteArray("\x04\x01\x00\x02\x00\x03\x00\x04\x00\x00\x3f\x00", 12));

    BitWriter scan;
    std::array<int, 4> previous {};
    for (int row = 0; row < look.height() / 8; ++row) {
        for (int column = 0; column < look.width() / 8; ++column) {
            const QRgb colour = look.pixel(column * 8, row * 8);
            const std::array<int, 4> levels {qRed(colour), qGreen(colour), qBlue(colour), 255};
            for (int component = 0; component < 4; ++component) {
                const int dc = levels[component] - 128;
                const int difference = dc - previous[component];
                previous[component] = dc;
                const int category = std::bit_width(unsigned(std::abs(difference)));
                scan.put(quint32(category), 4);
                const int extra = difference >= 0 ? difference : difference + (1 << category) - 1;
                scan.put(quint32(extra), category);
                scan.put(0, 1); // end of block
            }
        }
    }
    jpeg.append(scan.finish());
    jpeg.append(char(0xff)).append(char(eoi));
    return jpeg;
}

} // namespace Jpeg
