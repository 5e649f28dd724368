// Checks the pictures the game ships: that each file really is in the format its name and its
// use promise, read from its bytes, and that Qt decodes it.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QTest>
#include <QtEndian>

#include <array>
#include <optional>
#include <vector>

#ifndef VARKOZ_SOURCE_DIR
#error "VARKOZ_SOURCE_DIR must name the source folder"
#endif

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString sourcePath(const QString &relative)
{
    return QStringLiteral(VARKOZ_SOURCE_DIR "/") + relative;
}

// Little-endian and big-endian fields; 0 past the end, which the size checks catch first.
quint32 le16(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at + 2 <= data.size() ? qFromLittleEndian<quint16>(data.constData() + at) : 0;
}

quint32 le32(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at + 4 <= data.size() ? qFromLittleEndian<quint32>(data.constData() + at) : 0;
}

quint32 be16(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at + 2 <= data.size() ? qFromBigEndian<quint16>(data.constData() + at) : 0;
}

quint32 be32(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at + 4 <= data.size() ? qFromBigEndian<quint32>(data.constData() + at) : 0;
}

quint8 byteAt(const QByteArray &data, qsizetype at)
{
    return at >= 0 && at < data.size() ? static_cast<quint8>(data.at(at)) : 0;
}

// One entry of the directory of an .ico or .cur file.
struct IconEntry
{
    int width;
    int height;
    int colourCount;
    int planesOrHotX;
    int bitCountOrHotY;
    quint32 bytes;
    quint32 offset;
};

constexpr qsizetype iconDirectorySize = 6;
constexpr qsizetype iconEntrySize = 16;

IconEntry iconEntry(const QByteArray &data, int index)
{
    const qsizetype at = iconDirectorySize + index * iconEntrySize;
    const auto sizeAt = [&data](qsizetype offset) {
        const int size = byteAt(data, offset);
        return size == 0 ? 256 : size;
    };
    return {sizeAt(at),
            sizeAt(at + 1),
            byteAt(data, at + 2),
            static_cast<int>(le16(data, at + 4)),
            static_cast<int>(le16(data, at + 6)),
            le32(data, at + 8),
            le32(data, at + 12)};
}

// The classic icon image an entry points at: BITMAPINFOHEADER, palette, colour bitmap and
// transparency mask, both bottom-up with rows padded to four bytes.
struct IconBitmap
{
    quint32 headerSize = 0;
    int width = 0;
    int height = 0; // of the picture, half the header's height
    int planes = 0;
    int bitCount = 0;
    quint32 compression = 0;
    std::vector<QRgb> palette;
    qsizetype colourOffset = 0;
    qsizetype maskOffset = 0;
    qsizetype size = 0; // bytes from the header to the end of the mask

    int colourIndex(const QByteArray &data, int x, int y) const
    {
        const qsizetype stride = (width * bitCount + 31) / 32 * 4;
        const qsizetype row = colourOffset + (height - 1 - y) * stride;
        const int bit = x * bitCount;
        const int shift = 8 - bitCount - bit % 8;
        return (byteAt(data, row + bit / 8) >> shift) & ((1 << bitCount) - 1);
    }

    bool maskBit(const QByteArray &data, int x, int y) const
    {
        const qsizetype stride = (width + 31) / 32 * 4;
        const qsizetype row = maskOffset + (height - 1 - y) * stride;
        return (byteAt(data, row + x / 8) >> (7 - x % 8)) & 1;
    }
};

IconBitmap iconBitmap(const QByteArray &data, qsizetype at)
{
    IconBitmap bitmap;
    bitmap.headerSize = le32(data, at);
    bitmap.width = static_cast<int>(le32(data, at + 4));
    bitmap.height = static_cast<int>(le32(data, at + 8)) / 2;
    bitmap.planes = static_cast<int>(le16(data, at + 12));
    bitmap.bitCount = static_cast<int>(le16(data, at + 14));
    bitmap.compression = le32(data, at + 16);
    const quint32 coloursUsed = le32(data, at + 32);
    const qsizetype paletteSize = bitmap.bitCount > 8 ? 0
        : coloursUsed != 0                            ? coloursUsed
                                                      : qsizetype {1} << bitmap.bitCount;
    const qsizetype paletteAt = at + bitmap.headerSize;
    for (qsizetype i = 0; i < paletteSize; ++i) {
        const qsizetype entry = paletteAt + 4 * i;
        bitmap.palette.push_back(
            qRgb(byteAt(data, entry + 2), byteAt(data, entry + 1), byteAt(data, entry)));
    }
    const qsizetype colourStride = (bitmap.width * bitmap.bitCount + 31) / 32 * 4;
    const qsizetype maskStride = (bitmap.width + 31) / 32 * 4;
    bitmap.colourOffset = paletteAt + 4 * paletteSize;
    bitmap.maskOffset = bitmap.colourOffset + colourStride * bitmap.height;
    bitmap.size = bitmap.maskOffset + maskStride * bitmap.height - at;
    return bitmap;
}

struct MaskCount
{
    int transparent = 0;
    int opaque = 0;
};

MaskCount countMask(const QByteArray &data, const IconBitmap &bitmap)
{
    MaskCount count;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x)
            ++(bitmap.maskBit(data, x, y) ? count.transparent : count.opaque);
    }
    return count;
}

// Decodes image `index` of an icon or cursor file with Qt's own reader.
QImage decodeWithQt(const QByteArray &data, int index)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (index > 0 && !reader.jumpToImage(index))
        return {};
    return reader.read();
}

const std::array<QRgb, 16> windowsColours {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

// The markers of a JPEG up to the scan: which frame types it has and what the frame says.
struct JpegFrame
{
    bool startOfImage = false;
    bool jfif = false;
    std::vector<int> frameMarkers;
    int precision = 0;
    int width = 0;
    int height = 0;
    int components = 0;
};

bool isStartOfFrame(int marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

JpegFrame readJpegFrame(const QByteArray &data)
{
    JpegFrame frame;
    frame.startOfImage = byteAt(data, 0) == 0xff && byteAt(data, 1) == 0xd8;
    frame.jfif = byteAt(data, 2) == 0xff && byteAt(data, 3) == 0xe0
        && data.mid(6, 5) == QByteArray("JFIF\0", 5);
    qsizetype at = 2;
    while (at + 4 <= data.size() && byteAt(data, at) == 0xff) {
        const int marker = byteAt(data, at + 1);
        const qsizetype length = be16(data, at + 2);
        if (isStartOfFrame(marker)) {
            frame.frameMarkers.push_back(marker);
            frame.precision = byteAt(data, at + 4);
            frame.height = static_cast<int>(be16(data, at + 5));
            frame.width = static_cast<int>(be16(data, at + 7));
            frame.components = byteAt(data, at + 9);
        }
        if (marker == 0xda || length < 2)
            break; // the compressed scan follows
        at += 2 + length;
    }
    return frame;
}

// What a walk over the blocks of a GIF finds after the global colour table.
struct GifBlocks
{
    int imageDescriptors = 0;
    int transparentControls = 0;
    bool trailer = false;
};

qsizetype skipSubBlocks(const QByteArray &data, qsizetype at)
{
    while (at < data.size() && byteAt(data, at) != 0)
        at += 1 + byteAt(data, at);
    return at + 1;
}

GifBlocks walkGif(const QByteArray &data, qsizetype at)
{
    GifBlocks blocks;
    while (at < data.size()) {
        const int introducer = byteAt(data, at);
        if (introducer == 0x3b) {
            blocks.trailer = true;
            break;
        }
        if (introducer == 0x21) {
            const int label = byteAt(data, at + 1);
            if (label == 0xf9 && (byteAt(data, at + 3) & 1) != 0)
                ++blocks.transparentControls;
            at = skipSubBlocks(data, at + 2);
        } else if (introducer == 0x2c) {
            ++blocks.imageDescriptors;
            const int packed = byteAt(data, at + 9);
            at += 10;
            if (packed & 0x80)
                at += 3 * (qsizetype {1} << ((packed & 7) + 1));
            at = skipSubBlocks(data, at + 1); // past the LZW code size and the data
        } else {
            break; // not a GIF block: the walk stops without the trailer
        }
    }
    return blocks;
}

bool allOpaque(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
        }
    }
    return true;
}

} // namespace

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void iconDirectory();
    void iconImages_data();
    void iconImages();
    void iconThemePngs_data();
    void iconThemePngs();
    void cursors_data();
    void cursors();
    void fireballGif();
    void bulletHoleBmp();
    void jpegs_data();
    void jpegs();
    void fallbackTarget();
};

void TestAssets::iconDirectory()
{
    const QByteArray data = readFile(QStringLiteral(":/assets/varkoz.ico"));
    QVERIFY(data.size() > iconDirectorySize + 5 * iconEntrySize);
    QCOMPARE(le16(data, 0), 0u);
    QCOMPARE(le16(data, 2), 1u); // icon
    QCOMPARE(le16(data, 4), 5u);

    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(QImageReader(&buffer).imageCount(), 5);
}

void TestAssets::iconImages_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bitCount");
    QTest::newRow("16x16, 4 bits") << 0 << 16 << 4;
    QTest::newRow("16x16, 8 bits") << 1 << 16 << 8;
    QTest::newRow("32x32, 4 bits") << 2 << 32 << 4;
    QTest::newRow("32x32, 8 bits") << 3 << 32 << 8;
    QTest::newRow("48x48, 8 bits") << 4 << 48 << 8;
}

void TestAssets::iconImages()
{
    QFETCH(int, index);
    QFETCH(int, size);
    QFETCH(int, bitCount);
    const QByteArray data = readFile(QStringLiteral(":/assets/varkoz.ico"));
    QVERIFY(data.size() > iconDirectorySize + 5 * iconEntrySize);

    const IconEntry entry = iconEntry(data, index);
    QCOMPARE(entry.width, size);
    QCOMPARE(entry.height, size);
    QCOMPARE(entry.colourCount, bitCount < 8 ? 1 << bitCount : 0);
    QCOMPARE(entry.planesOrHotX, 1);
    QCOMPARE(entry.bitCountOrHotY, bitCount);
    QVERIFY(qsizetype {entry.offset} + entry.bytes <= data.size());

    const IconBitmap bitmap = iconBitmap(data, entry.offset);
    QCOMPARE(bitmap.headerSize, 40u);
    QCOMPARE(bitmap.width, size);
    QCOMPARE(bitmap.height, size);
    QCOMPARE(bitmap.planes, 1);
    QCOMPARE(bitmap.bitCount, bitCount);
    QCOMPARE(bitmap.compression, 0u);
    QCOMPARE(bitmap.palette.size(), size_t {1} << bitCount);
    QCOMPARE(qsizetype {entry.bytes}, bitmap.size);
    if (bitCount == 4) {
        for (size_t i = 0; i < windowsColours.size(); ++i)
            QCOMPARE(bitmap.palette[i], windowsColours[i]);
    }

    // A real mask: the round badge leaves the corners transparent.
    const MaskCount mask = countMask(data, bitmap);
    QVERIFY2(mask.transparent > 0, "the mask has no transparent pixels");
    QVERIFY2(mask.opaque > size * size / 3, "the mask hides most of the picture");
    QVERIFY(bitmap.maskBit(data, 0, 0));
    QVERIFY(bitmap.maskBit(data, size - 1, 0));
    QVERIFY(!bitmap.maskBit(data, size / 2, size / 2));

    const QImage image = decodeWithQt(data, index);
    QCOMPARE(image.size(), QSize(size, size));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestAssets::iconThemePngs_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 32, 48, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void TestAssets::iconThemePngs()
{
    QFETCH(int, size);
    const QByteArray data = readFile(sourcePath(QStringLiteral("assets/varkoz-%1.png").arg(size)));
    QVERIFY(data.startsWith("\x89PNG\r\n\x1a\n"));
    QCOMPARE(data.mid(12, 4), QByteArray("IHDR"));
    QCOMPARE(be32(data, 16), quint32(size));
    QCOMPARE(be32(data, 20), quint32(size));
    QCOMPARE(byteAt(data, 24), 8); // bits per channel
    QCOMPARE(byteAt(data, 25), 6); // RGBA

    const QImage image = QImage::fromData(data, "PNG");
    QCOMPARE(image.size(), QSize(size, size));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void TestAssets::cursors_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<QPoint>("inkPixel"); // an opaque pixel of the drawing
    QTest::addColumn<QRgb>("inkColour");
    QTest::addColumn<bool>("inverts"); // whether some pixels invert the screen
    QTest::newRow("gun-sight") << QStringLiteral(":/assets/gunsight.cur") << QPoint(15, 15) << 1
                               << QPoint(8, 15) << qRgb(0, 0, 0) << true;
    QTest::newRow("cross-hair") << QStringLiteral(":/assets/crosshair.cur") << QPoint(14, 15) << 4
                                << QPoint(9, 15) << qRgb(255, 255, 255) << false;
}

void TestAssets::cursors()
{
    QFETCH(QString, path);
    QFETCH(QPoint, hotSpot);
    QFETCH(int, bitCount);
    QFETCH(QPoint, inkPixel);
    QFETCH(QRgb, inkColour);
    QFETCH(bool, inverts);
    const QByteArray data = readFile(path);
    QVERIFY(data.size() > iconDirectorySize + iconEntrySize);
    QCOMPARE(le16(data, 0), 0u);
    QCOMPARE(le16(data, 2), 2u); // cursor
    QCOMPARE(le16(data, 4), 1u);

    const IconEntry entry = iconEntry(data, 0);
    QCOMPARE(entry.width, 32);
    QCOMPARE(entry.height, 32);
    QCOMPARE(QPoint(entry.planesOrHotX, entry.bitCountOrHotY), hotSpot);
    QVERIFY(qsizetype {entry.offset} + entry.bytes <= data.size());

    const IconBitmap bitmap = iconBitmap(data, entry.offset);
    QCOMPARE(bitmap.headerSize, 40u);
    QCOMPARE(bitmap.width, 32);
    QCOMPARE(bitmap.height, 32);
    QCOMPARE(bitmap.bitCount, bitCount);
    QCOMPARE(bitmap.compression, 0u);
    QCOMPARE(qsizetype {entry.bytes}, bitmap.size);

    const MaskCount mask = countMask(data, bitmap);
    QVERIFY2(mask.transparent > 0, "the mask has no transparent pixels");
    QVERIFY2(mask.opaque > 0, "the mask shows nothing");

    // Crisp and symmetric: mirrored about the hot spot, every pixel looks the same.
    int inverting = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb colour =
                bitmap.palette.at(static_cast<size_t>(bitmap.colourIndex(data, x, y)));
            const bool clear = bitmap.maskBit(data, x, y);
            if (clear && colour != qRgb(0, 0, 0))
                ++inverting;
            const int mirrorX = 2 * hotSpot.x() - x;
            const int mirrorY = 2 * hotSpot.y() - y;
            if (mirrorX < 0 || mirrorX >= 32 || mirrorY < 0 || mirrorY >= 32)
                continue;
            for (const QPoint mirror : {QPoint(mirrorX, y), QPoint(x, mirrorY)}) {
                QCOMPARE(bitmap.maskBit(data, mirror.x(), mirror.y()), clear);
                QCOMPARE(bitmap.colourIndex(data, mirror.x(), mirror.y()),
                         bitmap.colourIndex(data, x, y));
            }
        }
    }
    QCOMPARE(inverting > 0, inverts);
    QVERIFY(!bitmap.maskBit(data, inkPixel.x(), inkPixel.y()));

    const QImage image = decodeWithQt(data, 0);
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(image.pixel(inkPixel), inkColour | 0xff000000u);
}

void TestAssets::fireballGif()
{
    const QByteArray data = readFile(QStringLiteral(":/assets/fireball.gif"));
    QVERIFY(data.size() > 13 + 3 * 32);
    QCOMPARE(data.left(6), QByteArray("GIF89a"));
    QCOMPARE(le16(data, 6), 81u);
    QCOMPARE(le16(data, 8), 81u);
    const int packed = byteAt(data, 10);
    QVERIFY2(packed & 0x80, "no global colour table");
    QCOMPARE(1 << ((packed & 7) + 1), 32);

    const GifBlocks blocks = walkGif(data, 13 + 3 * 32);
    QVERIFY(blocks.trailer);
    QCOMPARE(blocks.imageDescriptors, 1);
    QCOMPARE(blocks.transparentControls, 0);

    const QImage image = QImage::fromData(data, "GIF");
    QCOMPARE(image.size(), QSize(81, 81));
    QVERIFY(allOpaque(image));
    QCOMPARE(image.pixel(0, 0), qRgb(192, 192, 192));
    const QRgb core = image.pixel(40, 40);
    QVERIFY2(qRed(core) > 230 && qGreen(core) > 180, "the fireball has no hot core");
}

void TestAssets::bulletHoleBmp()
{
    const QByteArray data = readFile(QStringLiteral(":/assets/bullethole.bmp"));
    QVERIFY(data.size() > 54);
    QCOMPARE(data.left(2), QByteArray("BM"));
    QCOMPARE(qsizetype {le32(data, 2)}, data.size());
    QCOMPARE(le32(data, 14), 40u); // BITMAPINFOHEADER
    QCOMPARE(le32(data, 18), 31u);
    QCOMPARE(le32(data, 22), 31u); // positive: bottom-up rows
    QCOMPARE(le16(data, 26), 1u);
    QCOMPARE(le16(data, 28), 24u);
    QCOMPARE(le32(data, 30), 0u); // BI_RGB
    constexpr qsizetype stride = (31 * 3 + 3) / 4 * 4;
    QCOMPARE(qsizetype {le32(data, 10)} + stride * 31, data.size());

    const QImage image = QImage::fromData(data, "BMP");
    QCOMPARE(image.size(), QSize(31, 31));
    QCOMPARE(image.pixel(0, 0), qRgb(192, 192, 192));
    QVERIFY2(qGray(image.pixel(15, 15)) < 40, "no dark hole in the middle");
}

void TestAssets::jpegs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("about") << QStringLiteral(":/assets/about.jpg") << QSize(105, 92);
    for (int i = 0; i < 10; ++i) {
        QTest::addRow("pic%d", i) << sourcePath(QStringLiteral("pix/pic%1.jpg").arg(i))
                                  << QSize(81, 81);
    }
}

void TestAssets::jpegs()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QByteArray data = readFile(path);
    QVERIFY2(!data.isEmpty(), qPrintable(path));

    const JpegFrame frame = readJpegFrame(data);
    QVERIFY(frame.startOfImage);
    QVERIFY2(frame.jfif, "the first segment is not a JFIF APP0");
    QCOMPARE(frame.frameMarkers, std::vector<int> {0xc0}); // baseline only
    QCOMPARE(frame.precision, 8);
    QCOMPARE(frame.components, 3);
    QCOMPARE(QSize(frame.width, frame.height), size);

    const QImage image = QImage::fromData(data, "JPEG");
    QCOMPARE(image.size(), size);
    QVERIFY(!image.isGrayscale());
}

void TestAssets::fallbackTarget()
{
    const QByteArray data = readFile(QStringLiteral(":/assets/fallback-target.png"));
    QVERIFY(data.startsWith("\x89PNG\r\n\x1a\n"));
    QCOMPARE(be32(data, 16), 81u);
    QCOMPARE(be32(data, 20), 81u);

    const QImage image = QImage::fromData(data, "PNG");
    QCOMPARE(image.size(), QSize(81, 81));
    QVERIFY(allOpaque(image));
    // Red in the middle, a white ring around it.
    const QRgb bull = image.pixel(40, 40);
    QVERIFY(qRed(bull) > 180 && qGreen(bull) < 80 && qBlue(bull) < 80);
    const QRgb ring = image.pixel(47, 40);
    QVERIFY(qRed(ring) > 230 && qGreen(ring) > 230 && qBlue(ring) > 230);
}

QTEST_MAIN(TestAssets)

#include "tst_assets.moc"
