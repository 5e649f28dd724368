// Checks the pictures the game ships: that each file really is in the format its name and its
// use promise, read from its bytes, and that Qt decodes it.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>

using namespace Qt::StringLiterals;

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The unsigned field of `size` bytes at `at`, little-endian unless `bigEndian`. Bytes past the
// end read as 0, so a short file fails the checks instead of reading out of bounds.
static int field(const QByteArray &data, qsizetype at, int size = 1, bool bigEndian = false)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i) {
        const qsizetype byte = at + (bigEndian ? i : size - 1 - i);
        value = (value << 8) | (byte >= 0 && byte < data.size() ? quint8(data[byte]) : 0u);
    }
    return static_cast<int>(value);
}

class TestAssets : public QObject
{
    Q_OBJECT

private slots:
    void iconsAndCursors_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bitCount");
        QTest::addColumn<QPoint>("hotSpot"); // of a cursor; none for an icon
        const QString ico = u":/assets/varkoz.ico"_s;
        QTest::newRow("icon 16, 4 bits") << ico << 0 << 16 << 4 << QPoint();
        QTest::newRow("icon 16, 8 bits") << ico << 1 << 16 << 8 << QPoint();
        QTest::newRow("icon 32, 4 bits") << ico << 2 << 32 << 4 << QPoint();
        QTest::newRow("icon 32, 8 bits") << ico << 3 << 32 << 8 << QPoint();
        QTest::newRow("icon 48, 8 bits") << ico << 4 << 48 << 8 << QPoint();
        QTest::newRow("gunsight") << u":/assets/gunsight.cur"_s << 0 << 32 << 1 << QPoint(15, 15);
        QTest::newRow("crosshair") << u":/assets/crosshair.cur"_s << 0 << 32 << 4 << QPoint(14, 15);
    }

    void iconsAndCursors()
    {
        QFETCH(QString, path);
        QFETCH(int, index);
        QFETCH(int, size);
        QFETCH(int, bitCount);
        QFETCH(QPoint, hotSpot);
        const bool cursor = !hotSpot.isNull();
        const int count = cursor ? 1 : 5;
        const QByteArray data = readFile(path);
        QCOMPARE(field(data, 2, 2), cursor ? 2 : 1); // the type: 1 icon, 2 cursor
        QCOMPARE(field(data, 4, 2), count);
        // The directory entry: where a cursor has its hot spot, an icon has 1 plane and the depth.
        const qsizetype entry = 6 + 16 * index;
        QCOMPARE(QSize(field(data, entry), field(data, entry + 1)), QSize(size, size));
        QCOMPARE(field(data, entry + 2), bitCount < 8 ? 1 << bitCount : 0); // colours
        QCOMPARE(QPoint(field(data, entry + 4, 2), field(data, entry + 6, 2)),
                 cursor ? hotSpot : QPoint(1, bitCount));
        const int bytes = field(data, entry + 8, 4);
        const qsizetype at = field(data, entry + 12, 4);
        // A BITMAPINFOHEADER (the height counts the colours and the mask), a full palette, the
        // colour bitmap and the mask, with rows padded to four bytes.
        QCOMPARE(field(data, at, 4), 40);
        QCOMPARE(QSize(field(data, at + 4, 4), field(data, at + 8, 4)), QSize(size, 2 * size));
        QCOMPARE(field(data, at + 12, 2), 1); // planes
        QCOMPARE(field(data, at + 14, 2), bitCount);
        QCOMPARE(field(data, at + 16, 4), 0); // uncompressed
        const int maskStride = (size + 31) / 32 * 4;
        const int colourStride = (size * bitCount + 31) / 32 * 4;
        QCOMPARE(bytes, 40 + 4 * (1 << bitCount) + (colourStride + maskStride) * size);
        // A real mask: set bits are transparent, and there are both kinds.
        const qsizetype mask = at + bytes - maskStride * size;
        int transparent = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x)
                transparent += (field(data, mask + y * maskStride + x / 8) >> (7 - x % 8)) & 1;
        }
        QVERIFY2(transparent > 0 && transparent < size * size, "the mask is empty or full");
        QImageReader reader(path);
        QCOMPARE(reader.imageCount(), count);
        reader.jumpToImage(index); // within the count just checked
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // the mask is not inverted: the corner is clear
    }

    void fireballGif()
    {
        const QByteArray data = readFile(u":/assets/fireball.gif"_s);
        QVERIFY(data.startsWith("GIF89a"));
        QCOMPARE(QSize(field(data, 6, 2), field(data, 8, 2)), QSize(81, 81));
        QCOMPARE(field(data, 10) & 0x87, 0x84); // a global colour table of 2 << 4 = 32 colours
        // The blocks after the colour table: one image, no transparent colour, then the trailer.
        int images = 0;
        int transparent = 0;
        qsizetype at = 13 + 3 * 32;
        for (int block; (block = field(data, at)) != 0x3b; ++at) {
            if (block == 0x2c) { // an image: descriptor, local colour table, LZW code size
                const int packed = field(data, at + 9);
                at += 11 + ((packed & 0x80) ? 6 << (packed & 7) : 0);
                ++images;
            } else {
                QCOMPARE(block, 0x21); // an extension: 0xf9 is the graphic control one
                transparent += field(data, at + 1) == 0xf9 && (field(data, at + 3) & 1);
                at += 2;
            }
            for (int length; (length = field(data, at)) != 0;)
                at += 1 + length; // the data sub-blocks, up to the empty one
        }
        QCOMPARE(images, 1);
        QCOMPARE(transparent, 0);
        QCOMPARE(QImage::fromData(data, "GIF").pixel(0, 0), qRgb(192, 192, 192)); // background
    }

    void bulletHoleBmp()
    {
        const QByteArray data = readFile(u":/assets/bullethole.bmp"_s);
        QVERIFY(data.startsWith("BM"));
        QCOMPARE(field(data, 2, 4), int(data.size()));
        QCOMPARE(field(data, 14, 4), 40); // BITMAPINFOHEADER
        QCOMPARE(QSize(field(data, 18, 4), field(data, 22, 4)), QSize(31, 31)); // bottom-up
        QCOMPARE(field(data, 28, 2), 24);
        QCOMPARE(field(data, 30, 4), 0); // uncompressed: rows padded to 4 bytes fill the rest
        QCOMPARE(field(data, 10, 4) + (31 * 3 + 3) / 4 * 4 * 31, int(data.size()));
        const QImage image = QImage::fromData(data, "BMP");
        QCOMPARE(image.size(), QSize(31, 31));
        QCOMPARE(image.pixel(0, 0), qRgb(192, 192, 192)); // the background
    }

    void jpegs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("about") << u":/assets/about.jpg"_s << QSize(105, 92);
        const QDir pix(QStringLiteral(VARKOZ_SOURCE_DIR "/pix"));
        const QStringList targets = pix.entryList({u"pic*.jpg"_s}, QDir::Files);
        QVERIFY2(targets.size() >= 8, "fewer than eight sample targets");
        for (const QString &name : targets)
            QTest::addRow("%s", qPrintable(name)) << pix.filePath(name) << QSize(81, 81);
    }

    void jpegs()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QByteArray data = readFile(path);
        QVERIFY(data.startsWith("\xff\xd8\xff\xe0")); // the start of the image, then APP0
        QCOMPARE(data.mid(6, 5), QByteArray("JFIF", 5));
        // The segments up to the scan, with every start-of-frame marker: 0xcN but for 4, 8 and C.
        QList<int> frames;
        qsizetype at = 2;
        for (int marker; field(data, at) == 0xff && (marker = field(data, at + 1)) != 0xda;) {
            if ((marker & 0xf0) == 0xc0 && (marker == 0xc0 || marker % 4 != 0)) {
                frames << marker;
                QCOMPARE(QSize(field(data, at + 7, 2, true), field(data, at + 5, 2, true)), size);
                QCOMPARE(field(data, at + 9), 3); // colour components
            }
            at += 2 + field(data, at + 2, 2, true);
        }
        QCOMPARE(field(data, at + 1), 0xda); // the walk reached the scan
        QCOMPARE(frames, QList<int> {0xc0}); // baseline, and no other kind of frame
        QCOMPARE(QImage::fromData(data, "JPEG").size(), size);
    }

    void pngs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("colourType"); // 2 opaque RGB, 6 RGBA
        QTest::newRow("fallback target") << u":/assets/fallback-target.png"_s << 81 << 2;
        for (const int size : {16, 32, 48, 128, 256}) {
            QTest::addRow("icon %d", size)
                << QStringLiteral(VARKOZ_SOURCE_DIR "/assets/varkoz-%1.png").arg(size) << size << 6;
        }
    }

    void pngs()
    {
        QFETCH(QString, path);
        QFETCH(int, size);
        QFETCH(int, colourType);
        const QByteArray data = readFile(path);
        QVERIFY(data.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(QSize(field(data, 16, 4, true), field(data, 20, 4, true)), QSize(size, size));
        QCOMPARE(field(data, 24), 8); // bits per channel
        QCOMPARE(field(data, 25), colourType);
        const QImage image = QImage::fromData(data, "PNG");
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(image.hasAlphaChannel(), colourType == 6); // and no transparent colour key
    }
};

QTEST_MAIN(TestAssets)

#include "tst_assets.moc"
