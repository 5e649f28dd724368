// Whatever the player puts in the pix folder, a wave runs through to its end: each bad input is
// laid out in a temporary current directory and a whole wave is played over it through the real
// main window, with real files and Qt's real decoders. Then thousands of mutated JPEG files go
// through target placement. The sanitizer build watches both for memory errors and leaks.
#include "support/range.h"
#include "support/robustness.h"
#include "support/testmain.h"
#include "support/warnings.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QtEndian>

#include <functional>
#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString fallbackFile = u":/assets/fallback-target.png"_s;
const QString cmykFile = QStringLiteral(VARKOZ_SOURCE_DIR "/tests/data/cmyk.jpg");

QString pictureName(int number)
{
    return u"pix/pic%1.jpg"_s.arg(number);
}

QByteArray contents(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QByteArray encoded(const QImage &image, const char *format = "jpeg", bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// Shades with stripes, so that a JPEG of it has detail all through its scan.
QImage striped(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / size.width(), y * 255 / size.height(), x % 16 * 16));
    return image;
}

QImage comparable(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

struct BadInput
{
    std::function<void()> lay; // lays out the current directory
    int count = 3; // the pictures the main window counts
    QList<int> fallback = {}; // numbers shown as the fallback target, each named once
    QList<int> named = {}; // numbers shown as far as they decode, each named once
    QString reason = {}; // what every warning says
    std::function<void()> afterCounting = {}; // changes the folder after the window counted
    QString folder = u"varkoz-XXXXXX"_s; // the temporary current directory
    bool needsNonRoot = false;
    qint64 peakLimit = 0; // the most the wave may add to resident memory at its peak, if set
};

// Good pictures 0 and 2 around pic1.jpg with these bytes.
std::function<void()> aroundPicOne(const QByteArray &bytes)
{
    return [bytes] {
        writeTargetPictures({0, 2});
        writeFile(pictureName(1), bytes);
    };
}

void threeGood()
{
    writeTargetPictures({0, 1, 2});
}

} // namespace

Q_DECLARE_METATYPE(BadInput)

class TestBadPictures : public QObject
{
    Q_OBJECT

private slots:
    void waveRunsThrough_data();
    void waveRunsThrough();
    void mutatedJpegs();
};

void TestBadPictures::waveRunsThrough_data()
{
    QTest::addColumn<BadInput>("input");
    const QImage picture = striped({96, 96});
    const QByteArray sample = encoded(picture);
    QByteArray huge = sample;
    const qsizetype frame = huge.indexOf("\xff\xc0");
    qToBigEndian<quint16>(30000, huge.data() + frame + 5); // height
    qToBigEndian<quint16>(30000, huge.data() + frame + 7); // width
    const qsizetype scan = sample.indexOf("\xff\xda");

    const auto folderNamedPicTwo = [] {
        writeTargetPictures({0, 1, 3});
        QDir().mkdir(pictureName(2));
    };
    const auto unreadablePicOne = [] {
        threeGood();
        QFile::setPermissions(pictureName(1), {});
    };
    const auto danglingPicOne = [] {
        writeTargetPictures({0, 2});
        QFile::link(u"pic-gone.jpg"_s, pictureName(1));
    };
    const auto photo = [] {
        writeTargetPictures({0, 2});
        writeJpeg(pictureName(1), {4000, 3000});
    };
    const auto gap = [] {
        writeTargetPictures({1, 2, 3, 4, 5, 6, 7, 8});
    };
    const auto twentyFive = [] {
        for (int number = 0; number < 25; ++number)
            writeTargetPictures({number});
    };

    QTest::newRow("no pix folder") << BadInput {.lay = [] {}, .count = 0, .fallback = {0, -1}};
    QTest::newRow("pix is a regular file") << BadInput {
        .lay = [] { writeFile(u"pix"_s, "not a folder\n"); }, .count = 0, .fallback = {0, -1}};
    QTest::newRow("pix is a dangling symbolic link") << BadInput {
        .lay = [] { QFile::link(u"nowhere"_s, u"pix"_s); }, .count = 0, .fallback = {0, -1}};
    QTest::newRow("pix is empty") << BadInput {
        .lay = [] { QDir().mkdir(u"pix"_s); }, .count = 0, .fallback = {0, -1}};
    QTest::newRow("empty file") << BadInput {.lay = aroundPicOne({}), .fallback = {1}};
    QTest::newRow("JPEG cut off in the middle of the scan")
        << BadInput {.lay = aroundPicOne(sample.left((scan + sample.size()) / 2)), .named = {1}};
    QTest::newRow("random bytes") << BadInput {.lay = aroundPicOne(randomBytes(4096, 7)),
                                               .fallback = {1}};
    QTest::newRow("text file") << BadInput {
        .lay = aroundPicOne("These are not the pictures you are looking for.\n"), .fallback = {1}};
    QTest::newRow("PNG under a .jpg name")
        << BadInput {.lay = aroundPicOne(encoded(picture, "png"))};
    QTest::newRow("GIF under a .jpg name")
        << BadInput {.lay = aroundPicOne(contents(u":/assets/fireball.gif"_s))};
    QTest::newRow("progressive JPEG")
        << BadInput {.lay = aroundPicOne(encoded(picture, "jpeg", true))};
    QTest::newRow("CMYK JPEG") << BadInput {.lay = aroundPicOne(contents(cmykFile))};
    QTest::newRow("grey-scale JPEG") << BadInput {
        .lay = aroundPicOne(encoded(picture.convertToFormat(QImage::Format_Grayscale8)))};
    QTest::newRow("folder named pic2.jpg")
        << BadInput {.lay = folderNamedPicTwo, .fallback = {2}, .reason = u"it is a folder"_s};
    QTest::newRow("file without read permission") << BadInput {
        .lay = unreadablePicOne, .fallback = {1}, .reason = u"permission"_s, .needsNonRoot = true};
    QTest::newRow("dangling link named pic1.jpg")
        << BadInput {.lay = danglingPicOne, .count = 2, .fallback = {1}};
    QTest::newRow("JPEG whose header claims 30000 x 30000 pixels")
        << BadInput {.lay = aroundPicOne(huge),
                     .fallback = {1},
                     .reason = u"too large (30000 x 30000 pixels)"_s,
                     .peakLimit = 32 * 1024 * 1024};
    QTest::newRow("4000 x 3000 photo") << BadInput {.lay = photo};
    QTest::newRow("gap in the numbering, pic1 to pic8 without pic0")
        << BadInput {.lay = gap, .count = 8, .fallback = {0}};
    QTest::newRow("25 files, pic0 to pic24") << BadInput {.lay = twentyFive, .count = 21};
    QTest::newRow("file removed between counting and loading")
        << BadInput {.lay = threeGood, .fallback = {1}, .afterCounting = [] {
                         QFile::remove(pictureName(1));
                     }};
    QTest::newRow("file replaced by garbage between counting and loading")
        << BadInput {.lay = threeGood, .fallback = {2}, .afterCounting = [] {
                         writeFile(pictureName(2), randomBytes(3000, 11));
                     }};
    QTest::newRow("current directory with spaces and non-ASCII characters")
        << BadInput {.lay = threeGood, .folder = u"varkoz Zielscheibe äöü ñ 標的 XXXXXX"_s};
}

void TestBadPictures::waveRunsThrough()
{
    QFETCH(BadInput, input);
    if (input.needsNonRoot && geteuid() == 0)
        QSKIP("running as root, where read permissions do not bite");
    TemporaryCurrentDir dir(input.folder);
    QVERIFY(dir.isValid());
    QVERIFY(QDir::currentPath().contains(input.folder.chopped(6)));
    input.lay();
    Range range;
    holdTimer(range.timer());
    QCOMPARE(range.window->wave().pictureCount(), input.count);
    if (input.afterCounting)
        input.afterCounting();

    // What each number the draws can give must show: the fallback target where its file fails,
    // else the file as Qt decodes it.
    QList<int> numbers;
    for (int number = input.count > 0 ? 0 : -1; number < std::max(input.count, 1); ++number)
        numbers.append(number);
    std::optional<WarningLog> warnings(std::in_place);
    QHash<int, QImage> expected;
    for (int number : numbers) {
        expected[number] = comparable(
            QImage(input.fallback.contains(number) ? fallbackFile : pictureName(number)));
        QVERIFY2(!expected[number].isNull(), qPrintable(pictureName(number)));
    }

    warnings.emplace(); // what Qt said of the files above is not the program's
    const bool peakMeasured = input.peakLimit > 0 && resetPeakMemory();
    const qint64 residentBefore = processMemory("VmRSS");
    QStringList loaded; // what each placement is to read
    int hits = 0;
    int misses = 0;
    qint64 slowest = 0;
    QElapsedTimer clock;
    for (int step = 0; step <= Wave::ticksPerWave; ++step) {
        // Holes 8 and 0 in turn, each step showing the next number. Moving up to 8, the tick's
        // loop meets the new target again and draws its picture anew.
        const int hole = step % 2 ? 0 : 8;
        const int number = numbers.at(step % numbers.size());
        const float draw =
            input.count > 0 ? drawForPicture(number, input.count) : (number < 0 ? 0.9f : 0.0f);
        range.random.push({drawForHole(hole), draw});
        loaded.append(pictureName(number));
        if (step > 0 && hole == 8) {
            range.random.push({draw});
            loaded.append(pictureName(number));
        }
        clock.start();
        if (step == 0)
            range.window->Start();
        else
            range.tick();
        slowest = std::max(slowest, clock.elapsed());
        QCOMPARE(range.random.remaining(), 0);
        if (step == Wave::ticksPerWave)
            break;

        QCOMPARE(range.visibleHoles(), QList<int> {hole});
        const QImage shown = range.hole(hole)->picture().toImage();
        QVERIFY2(comparable(shown) == expected[number],
                 qPrintable(u"step %1 shows another picture than %2"_s.arg(step).arg(
                     pictureName(number))));
        QCOMPARE(range.hole(hole)->size(), shown.size());
        if (step % 3 == 1) {
            range.clickClient(range.hole(hole)->pos() + QPoint(4, 4));
            ++hits;
        }
        if (step % 4 == 2) {
            range.clickClient({35, 150}); // the field, left of every hole
            ++misses;
        }
    }

    QVERIFY(!range.timer()->isActive());
    QVERIFY(range.visibleHoles().isEmpty());
    QCOMPARE(range.hits(), QString::number(hits));
    QCOMPARE(range.misses(), QString::number(misses));
    const QString precision = QString::number(100 * hits / (hits + misses)) + u'%';
    QCOMPARE(range.precision(), precision);
    QCOMPARE(range.loader.loaded(), loaded);
    // A step takes far less than a tick on any machine: only a hang fails.
    QVERIFY2(slowest < 5000, qPrintable(u"a step took %1 ms"_s.arg(slowest)));

    QHash<QString, int> namedOnce;
    for (int number : input.fallback + input.named)
        namedOnce.insert(pictureName(number), 1);
    const QStringList messages = warnings->messages();
    const QString said = messages.join(u" | "_s);
    QVERIFY2(warnings->countsPerFile() == namedOnce, qPrintable(said));
    warnings.reset(); // lets qInfo through again
    for (const QString &message : messages)
        QVERIFY2(message.contains(input.reason), qPrintable(message));

    QString memory;
    if (peakMeasured) {
        const qint64 growth = processMemory("VmHWM") - residentBefore;
        QVERIFY2(growth <= input.peakLimit,
                 qPrintable(u"resident memory rose by "_s + mebibytes(growth)));
        memory = u"; resident memory at its peak %1 above the start"_s.arg(mebibytes(growth));
    } else if (input.peakLimit > 0) {
        memory = u"; peak memory not measurable here"_s;
    }
    qInfo().noquote() << u"%1 counted; %2 targets placed, the slowest step %3 ms%4; %5 hits, %6 "
                         u"misses, %7; warned: %8"_s.arg(input.count)
                             .arg(loaded.size())
                             .arg(slowest)
                             .arg(memory)
                             .arg(hits)
                             .arg(misses)
                             .arg(precision)
                             .arg(said.isEmpty() ? u"nothing"_s : said);
}

void TestBadPictures::mutatedJpegs()
{
    constexpr int mutants = 4000;
    constexpr quint32 seed = 20261206;
    const QByteArray baseline = contents(QStringLiteral(VARKOZ_SOURCE_DIR "/pix/pic0.jpg"));
    const QList<QByteArray> valid {baseline, encoded(QImage::fromData(baseline), "jpeg", true),
                                   contents(cmykFile)};
    for (const QByteArray &file : valid)
        QVERIFY(!QImage::fromData(file).isNull());

    TemporaryCurrentDir dir;
    QVERIFY(dir.isValid() && QDir().mkdir(u"pix"_s));
    DiskPictureLoader loader;
    TargetPictures pictures(loader, fallbackFile);
    const QImage fallback(fallbackFile);
    QRandomGenerator random(seed);
    qInfo("%d mutants of %d valid JPEG files, seed %u", mutants, int(valid.size()), seed);
    int shown = 0;
    std::optional<WarningLog> warnings(std::in_place);
    for (int mutant = 0; mutant < mutants; ++mutant) {
        QByteArray bytes = valid.at(mutant % valid.size());
        const int headers = int(bytes.indexOf("\xff\xda")) + 14;
        for (int change = random.bounded(1, 4); change > 0 && !bytes.isEmpty(); --change) {
            // Half the changes fall in the headers, where the sizes, tables and lengths are.
            const int size = int(bytes.size());
            const int at = random.bounded(random.bounded(2) ? std::min(headers, size) : size);
            switch (random.bounded(4)) {
            case 0:
                bytes[at] = char(random.bounded(256));
                break;
            case 1: // a stray marker
                bytes.insert(at, QByteArray(1, char(0xff)) + char(random.bounded(0xc0, 0xff)));
                break;
            case 2:
                bytes.truncate(at);
                break;
            default:
                bytes.remove(at, random.bounded(1, 17));
                break;
            }
        }
        writeFile(u"pix/pic0.jpg"_s, bytes);
        const QImage image = pictures.picture(0);
        QVERIFY2(!image.isNull(), qPrintable(u"mutant %1"_s.arg(mutant)));
        QVERIFY(image.sizeInBytes() <= DiskPictureLoader::maxDecodedBytes);
        shown += image != fallback;
    }
    const QStringList messages = warnings->messages();
    warnings.reset();
    QVERIFY2(messages.size() <= 1, qPrintable(messages.join(u'\n')));
    QVERIFY(shown > 0 && shown < mutants);
    qInfo("%d shown, %d replaced by the fallback target", shown, mutants - shown);
}

VARKOZ_TEST_MAIN(TestBadPictures)
#include "tst_badpictures.moc"
