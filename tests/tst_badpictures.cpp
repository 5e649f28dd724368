// Whatever the player puts in the pix folder, a wave runs through to its end: each bad input is
// laid out in a temporary current directory and a whole wave is played over it through the real
// main window, with real files and Qt's real decoders. Every target is checked as it shows (the
// picture itself, or the built-in target where the file fails), along with the time of each
// step, the score, the precision at the end and the warnings.
#include "support/madefiles.h"
#include "support/range.h"
#include "support/robustness.h"
#include "support/testmain.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTest>

#include <functional>
#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString pictureName(int number)
{
    return u"pix/pic%1.jpg"_s.arg(number);
}

// What a case could not make of its folder; the case fails unless it is empty.
QStringList unmade;
bool made(bool ok, const QString &what)
{
    if (!ok)
        unmade.append(what);
    return ok;
}

// ---- What each picture number is expected to show

struct Expected
{
    enum class Shows { BuiltInTarget, Itself, DamagedItself };
    Shows shows = Shows::BuiltInTarget;
    QImage look; // the picture as made, for Itself and DamagedItself
    int tolerance = 0; // the mean difference a colour channel may have, for lossy files
};
using Expectations = QHash<int, Expected>;

Expected itself(const QImage &look, int tolerance)
{
    return {Expected::Shows::Itself, look, tolerance};
}

constexpr int jpegTolerance = 6;

QSize sizeOfPicture(int number)
{
    return {64 + 4 * number, 56 + 2 * number};
}

// Good JPEG pictures under these numbers, each of its own size and hue.
Expectations goodPictures(std::initializer_list<int> numbers)
{
    Expectations expected;
    for (int number : numbers) {
        const QImage look = shadedPicture(sizeOfPicture(number), number * 47);
        if (made(writeFile(pictureName(number), encoded(look, "jpeg")), pictureName(number)))
            expected.insert(number, itself(look, jpegTolerance));
    }
    return expected;
}

Expectations goodPictures(int first, int last)
{
    Expectations expected;
    for (int number = first; number <= last; ++number)
        expected.insert(goodPictures({number}));
    return expected;
}

// Good pictures 0 and 2 around pic1.jpg with these bytes, which is expected to show as given.
Expectations aroundPictureOne(const QByteArray &bytes, std::optional<Expected> one = {})
{
    Expectations expected = goodPictures({0, 2});
    if (made(writeFile(pictureName(1), bytes), pictureName(1)) && one)
        expected.insert(1, *one);
    return expected;
}

Expectations threeGoodPictures()
{
    return goodPictures({0, 1, 2});
}

Expectations unreadablePictureOne()
{
    Expectations expected = goodPictures({0, 2});
    made(writeFile(pictureName(1), encoded(shadedPicture({90, 70}, 120), "jpeg")), pictureName(1));
    made(QFile::setPermissions(pictureName(1), {}), pictureName(1));
    return expected;
}

void removePictureOne(Expectations &expected)
{
    made(QFile::remove(pictureName(1)), pictureName(1));
    expected.remove(1);
}

void garblePictureTwo(Expectations &expected)
{
    made(writeFile(pictureName(2), randomBytes(3000, 11)), pictureName(2));
    expected.remove(2);
}

// ---- A case: the folder, the count the window takes, what happens after counting

class BadInput
{
public:
    using Lay = std::function<Expectations()>;
    using Change = std::function<void(Expectations &)>;

    BadInput() = default;
    // Lays out the current directory and tells what each number shows; numbers it leaves out
    // show the built-in target. The main window is to count `count` pictures.
    BadInput(Lay lay, qint16 count = 0) : m_lay(std::move(lay)), m_count(count) { }

    // Changes the folder after the main window has counted the pictures.
    BadInput afterCounting(Change change) const { return with(&BadInput::m_afterCount, change); }
    // The name of the temporary current directory, ending in XXXXXX.
    BadInput in(const QString &folder) const { return with(&BadInput::m_folder, folder); }
    // What the warning about each failing file must say.
    BadInput saying(const QString &reason) const { return with(&BadInput::m_reason, reason); }
    // The bytes the wave may add to the process's resident memory at its peak.
    BadInput growingAtMost(qint64 bytes) const { return with(&BadInput::m_peakGrowth, bytes); }
    // The case needs a user whom read permissions bind.
    BadInput withoutRoot() const { return with(&BadInput::m_needsNonRoot, true); }

    Expectations lay() const { return m_lay(); }
    qint16 count() const { return m_count; }
    void afterCount(Expectations &expected) const { m_afterCount(expected); }
    QString folder() const { return m_folder; }
    QString reason() const { return m_reason; }
    qint64 peakGrowth() const { return m_peakGrowth; }
    bool needsNonRoot() const { return m_needsNonRoot; }

private:
    template<class T, class V>
    BadInput with(T BadInput::*member, V value) const
    {
        BadInput changed = *this;
        changed.*member = std::move(value);
        return changed;
    }

    static Expectations nothing() { return {}; }
    static void unchanged(Expectations &) { }

    Lay m_lay = nothing;
    qint16 m_count = 0;
    Change m_afterCount = unchanged;
    QString m_folder = u"varkoz-XXXXXX"_s;
    QString m_reason;
    qint64 m_peakGrowth = 0; // 0: not measured
    bool m_needsNonRoot = false;
};

// The numbers the draws can give: 0 to count less one, or 0 and -1 with no picture at all.
QList<int> drawableNumbers(int count)
{
    if (count == 0)
        return {0, -1};
    QList<int> numbers;
    for (int number = 0; number < count; ++number)
        numbers.append(number);
    return numbers;
}

float drawFor(int number, int count)
{
    return count == 0 ? (number < 0 ? 0.9f : 0.0f) : drawForPicture(number, count);
}

// ---- Comparing what a hole shows

QImage comparable(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The mean difference of the colour channels over a grid of at most about 100 x 100 points of
// the rows [0, rows).
double meanDifference(const QImage &shown, const QImage &look, int rows)
{
    const int step = std::max(1, std::max(look.width(), rows) / 100);
    double sum = 0;
    qint64 samples = 0;
    for (int y = 0; y < rows; y += step)
        for (int x = 0; x < look.width(); x += step) {
            const QRgb a = shown.pixel(x, y);
            const QRgb b = look.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                + std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
            samples += 4;
        }
    return samples ? sum / double(samples) : 0.0;
}

// Empty when the hole shows what was expected, else what it shows instead.
QString mismatch(const QImage &shownPicture, const Expected &expected, const QImage &fallback)
{
    const QImage shown = comparable(shownPicture);
    if (expected.shows == Expected::Shows::BuiltInTarget)
        return shown == fallback ? QString() : u"not the built-in target"_s;
    if (shown == fallback)
        return u"the built-in target"_s;
    const QImage look = comparable(expected.look);
    if (shown.size() != look.size())
        return u"a picture of %1 x %2"_s.arg(shown.width()).arg(shown.height());
    // A damaged file shows what could be decoded before the damage: its first rows.
    const int rows =
        expected.shows == Expected::Shows::Itself ? look.height() : std::min(16, look.height());
    const double difference = meanDifference(shown, look, rows);
    if (difference > expected.tolerance)
        return u"another picture (mean difference %1)"_s.arg(difference, 0, 'f', 1);
    return {};
}

// ---- The wave

// Holes in turn: each differs from the one before (and the first from hole 0, where the wave's
// first draw can never land); moving up from 0 to 8 and the like makes the tick's loop meet
// the new target a second time.
constexpr std::array<int, 9> holeSequence {4, 1, 7, 2, 8, 0, 5, 3, 6};
// A point of the field left of every hole, however large its picture: a press there misses.
const QPoint missPoint {35, 150};

bool isHitStep(int step)
{
    return step % 3 == 1;
}
bool isMissStep(int step)
{
    return step % 4 == 2;
}

QString listOfFiles(const QList<int> &numbers)
{
    QStringList names;
    for (int number : numbers)
        names.append(u"pic%1.jpg"_s.arg(number));
    return names.join(u", "_s);
}

} // namespace

Q_DECLARE_METATYPE(BadInput)

class TestBadPictures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void madeFilesAreWhatTheyClaim();
    void waveRunsThrough_data();
    void waveRunsThrough();

private:
    QImage m_fallback;
};

void TestBadPictures::initTestCase()
{
    m_fallback = comparable(QImage(u":/assets/fallback-target.png"_s));
    QVERIFY(!m_fallback.isNull());
}

void TestBadPictures::madeFilesAreWhatTheyClaim()
{
    // The cases below rely on these files being what their names say, byte for byte.
    const QImage look = shadedPicture({96, 96}, 10);
    const QByteArray baseline = encoded(look, "jpeg");
    QVERIFY(Jpeg::find(baseline, Jpeg::sof0) > 0);
    QCOMPARE(Jpeg::components(baseline), 3);

    const QByteArray progressive = encoded(look, "jpeg", true);
    QVERIFY(Jpeg::find(progressive, Jpeg::sof2) > 0);
    QCOMPARE(Jpeg::find(progressive, Jpeg::sof0), -1);

    QCOMPARE(Jpeg::components(encoded(look.convertToFormat(QImage::Format_Grayscale8), "jpeg")), 1);

    const QByteArray cmyk = Jpeg::cmyk(blockPicture({10, 8}));
    QCOMPARE(Jpeg::components(cmyk), 4);
    const qsizetype adobe = Jpeg::find(cmyk, Jpeg::app14);
    QVERIFY(adobe > 0);
    QCOMPARE(cmyk.mid(adobe + 4, 5), QByteArray("Adobe"));

    QByteArray claimed = Jpeg::withClaimedSize(baseline, {30000, 30000});
    QBuffer buffer(&claimed);
    QCOMPARE(QImageReader(&buffer).size(), QSize(30000, 30000));

    const QByteArray cut = Jpeg::cutInTheScan(baseline);
    QVERIFY(cut.size() < baseline.size() - 100);
    QVERIFY(cut.size() > Jpeg::find(baseline, Jpeg::sos) + 100);
}

void TestBadPictures::waveRunsThrough_data()
{
    QTest::addColumn<BadInput>("input");
    const QImage grey = shadedPicture({88, 72}, 200).convertToFormat(QImage::Format_Grayscale8);
    const QImage blocks = blockPicture({11, 9});
    const QImage square = shadedPicture({96, 96}, 300);
    const QImage png = shadedPicture({90, 70}, 120);

    QTest::newRow("no pix folder") << BadInput([] { return Expectations(); });
    QTest::newRow("pix is a regular file") << BadInput([] {
        made(writeFile(u"pix"_s, "not a folder\n"), u"pix"_s);
        return Expectations();
    });
    QTest::newRow("pix is a dangling symbolic link") << BadInput([] {
        made(QFile::link(u"nowhere"_s, u"pix"_s), u"pix"_s);
        return Expectations();
    });
    QTest::newRow("pix is empty") << BadInput([] {
        made(QDir().mkdir(u"pix"_s), u"pix"_s);
        return Expectations();
    });

    QTest::newRow("empty picture file") << BadInput([] { return aroundPictureOne({}); }, 3);
    QTest::newRow("JPEG cut off in the middle of the scan") << BadInput(
        [=] {
            return aroundPictureOne(
                Jpeg::cutInTheScan(encoded(square, "jpeg")),
                Expected {Expected::Shows::DamagedItself, square, jpegTolerance});
        },
        3);
    QTest::newRow("random bytes") << BadInput([] { return aroundPictureOne(randomBytes(4096, 7)); },
                                              3);
    QTest::newRow("text file") << BadInput(
        [] { return aroundPictureOne("These are not the pictures you are looking for.\n"); }, 3);
    QTest::newRow("PNG under a .jpg name")
        << BadInput([=] { return aroundPictureOne(encoded(png, "png"), itself(png, 0)); }, 3);
    QTest::newRow("GIF under a .jpg name") << BadInput(
        [] {
            QFile gif(u":/assets/fireball.gif"_s);
            made(gif.open(QIODevice::ReadOnly), gif.fileName());
            return aroundPictureOne(gif.readAll(), itself(QImage(u":/assets/fireball.gif"_s), 0));
        },
        3);
    QTest::newRow("progressive JPEG") << BadInput(
        [=] {
            return aroundPictureOne(encoded(square, "jpeg", true), itself(square, jpegTolerance));
        },
        3);
    QTest::newRow("CMYK JPEG") << BadInput(
        [=] { return aroundPictureOne(Jpeg::cmyk(blocks), itself(blocks, 2)); }, 3);
    QTest::newRow("grey-scale JPEG") << BadInput(
        [=] { return aroundPictureOne(encoded(grey, "jpeg"), itself(grey, jpegTolerance)); }, 3);

    QTest::newRow("folder named pic2.jpg")
        << BadInput(
               [] {
                   Expectations expected = goodPictures({0, 1, 3});
                   made(QDir().mkpath(pictureName(2)), pictureName(2));
                   expected.remove(3); // counted, but never drawn: only 0 to 2 are
                   return expected;
               },
               3)
               .saying(u"it is a folder"_s);
    QTest::newRow("file without read permission")
        << BadInput(unreadablePictureOne, 3).withoutRoot().saying(u"no permission"_s);
    QTest::newRow("dangling link named pic1.jpg") << BadInput(
        [] {
            Expectations expected = goodPictures({0, 2});
            made(QFile::link(u"pic-gone.jpg"_s, pictureName(1)), pictureName(1));
            expected.remove(2); // 0 and 2 are counted: only 0 and 1 are drawn
            return expected;
        },
        2);

    QTest::newRow("JPEG whose header claims 30000 x 30000 pixels")
        << BadInput(
               [] {
                   const QByteArray small = encoded(shadedPicture({81, 81}, 0), "jpeg");
                   return aroundPictureOne(Jpeg::withClaimedSize(small, {30000, 30000}));
               },
               3)
               .saying(u"too large (30000 x 30000 pixels)"_s)
               .growingAtMost(32 * 1024 * 1024);
    QTest::newRow("4000 x 3000 photo") << BadInput(
        [] {
            const QImage photo = shadedPicture({4000, 3000}, 30);
            return aroundPictureOne(encoded(photo, "jpeg"), itself(photo, jpegTolerance));
        },
        3);

    QTest::newRow("gap in the numbering, pic1 to pic8 without pic0") << BadInput(
        [] {
            Expectations expected = goodPictures(1, 8);
            expected.remove(8); // counted, but never drawn: only 0 to 7 are
            return expected;
        },
        8);
    QTest::newRow("25 files, pic0 to pic24") << BadInput(
        [] {
            Expectations expected = goodPictures(0, 24);
            for (int number = 21; number <= 24; ++number)
                expected.remove(number); // never looked at
            return expected;
        },
        21);
    QTest::newRow("file removed between counting and loading")
        << BadInput(threeGoodPictures, 3).afterCounting(removePictureOne);
    QTest::newRow("file replaced by garbage between counting and loading")
        << BadInput(threeGoodPictures, 3).afterCounting(garblePictureTwo);
    QTest::newRow("current directory with spaces and non-ASCII characters")
        << BadInput(threeGoodPictures, 3).in(u"varkoz Zielscheibe äöü ñ 標的 XXXXXX"_s);
}

void TestBadPictures::waveRunsThrough()
{
    QFETCH(BadInput, input);
    if (input.needsNonRoot() && geteuid() == 0)
        QSKIP("running as root, where read permissions do not bite: no unreadable file can be "
              "made");

    TemporaryCurrentDir dir(input.folder());
    QVERIFY(dir.isValid());
    QVERIFY(QFileInfo(QDir::currentPath()).fileName().startsWith(input.folder().chopped(6)));
    unmade.clear();
    Expectations expected = input.lay();
    Range range;
    holdTimer(range.timer());
    QCOMPARE(range.window->wave().pictureCount(), input.count());
    input.afterCount(expected);
    QVERIFY2(unmade.isEmpty(), qPrintable(u"could not make "_s + unmade.join(u", "_s)));

    const int count = input.count();
    const QList<int> numbers = drawableNumbers(count);
    QList<int> drawn;
    qsizetype nextNumber = 0;
    const auto drawNext = [&] {
        const int number = numbers.at(nextNumber++ % numbers.size());
        drawn.append(number);
        range.random.push({drawFor(number, count)});
        return number;
    };

    int hits = 0;
    int misses = 0;
    qint64 slowestStep = 0;
    QElapsedTimer clock;
    const bool peakMeasured = ProcessMemory::resetPeak();
    const std::optional<qint64> residentBefore = ProcessMemory::resident();
    std::optional<WarningLog> warnings(std::in_place);

    for (int step = 0; step <= Wave::ticksPerWave; ++step) {
        const int hole = holeSequence.at(step % holeSequence.size());
        const int previousHole = step == 0 ? 0 : holeSequence.at((step - 1) % holeSequence.size());
        range.random.push({drawForHole(hole)});
        int shownNumber = drawNext();
        if (step > 0 && hole > previousHole)
            shownNumber = drawNext(); // the loop meets the new target again

        clock.start();
        if (step == 0)
            range.window->Start();
        else
            range.tick();
        slowestStep = std::max(slowestStep, clock.elapsed());
        const QString where =
            u"step %1, pic%2.jpg in hole %3"_s.arg(step).arg(shownNumber).arg(hole);
        QVERIFY2(range.random.remaining() == 0, qPrintable(where));
        if (step == Wave::ticksPerWave)
            break;

        QCOMPARE(range.visibleHoles(), QList<int> {hole});
        const QString wrong = mismatch(range.hole(hole)->picture().toImage(),
                                       expected.value(shownNumber), m_fallback);
        QVERIFY2(wrong.isEmpty(), qPrintable(where + u" shows "_s + wrong));
        QCOMPARE(range.hole(hole)->size(), range.hole(hole)->picture().size());

        if (isHitStep(step)) {
            range.clickClient(range.hole(hole)->pos() + QPoint(4, 4));
            QCOMPARE(range.hits(), QString::number(++hits));
        }
        if (isMissStep(step)) {
            range.clickClient(missPoint);
            QCOMPARE(range.misses(), QString::number(++misses));
        }
    }
    const QStringList messages = warnings->messages();
    const QHash<QString, int> warningsPerFile = warnings->countsPerFile();
    warnings.reset();
    const std::optional<qint64> peak = ProcessMemory::peakResident();

    // The wave went on to its end, with the score as shot.
    QVERIFY(!range.timer()->isActive());
    QVERIFY(range.visibleHoles().isEmpty());
    QVERIFY(!range.field()->isEnabled());
    QCOMPARE(range.window->wave().tickCount(), 0);
    QCOMPARE(range.hits(), QString::number(hits));
    QCOMPARE(range.misses(), QString::number(misses));
    const QString precision = QString::number(100 * hits / (hits + misses)) + u'%';
    QCOMPARE(range.precision(), precision);

    // Only the drawable numbers were read, once for each target placed.
    QStringList names;
    for (int number : drawn)
        names.append(pictureName(number));
    QCOMPARE(range.loader.loaded(), names);

    // No stall: a step takes far less than a tick's 600 ms on any machine, so only a step
    // beyond 5 s (a hang, or a decoder gone astray) fails.
    QVERIFY2(slowestStep < 5000, qPrintable(u"a step took %1 ms"_s.arg(slowestStep)));

    // Each failing file is named once; files that show are not named; nothing else is said.
    QVERIFY2(!warningsPerFile.contains(QString()), qPrintable(messages.join(u'\n')));
    QList<int> shownAsThemselves;
    QList<int> builtIn;
    QList<int> damaged;
    for (int number : numbers) {
        if (!drawn.contains(number))
            continue;
        const Expected::Shows shows = expected.value(number).shows;
        (shows == Expected::Shows::Itself              ? shownAsThemselves
             : shows == Expected::Shows::BuiltInTarget ? builtIn
                                                       : damaged)
            .append(number);
        const int expectedWarnings = shows == Expected::Shows::Itself ? 0 : 1;
        QVERIFY2(warningsPerFile.value(pictureName(number)) == expectedWarnings,
                 qPrintable(pictureName(number) + u": "_s + messages.join(u'\n')));
    }
    QCOMPARE(messages.size(), builtIn.size() + damaged.size());
    if (!input.reason().isEmpty())
        for (const QString &message : messages)
            QVERIFY2(message.contains(input.reason()), qPrintable(message));

    QString memory;
    if (input.peakGrowth() > 0) {
        if (peakMeasured && peak && residentBefore) {
            const qint64 growth = *peak - *residentBefore;
            QVERIFY2(growth <= input.peakGrowth(),
                     qPrintable(u"resident memory rose by "_s + ProcessMemory::mebibytes(growth)));
            memory = u"; resident memory at its peak %1 above the start"_s.arg(
                ProcessMemory::mebibytes(growth));
        } else {
            memory = u"; peak memory not measured on this system"_s;
        }
    }

    QStringList outcome {u"%1 counted"_s.arg(count)};
    if (!shownAsThemselves.isEmpty())
        outcome.append(listOfFiles(shownAsThemselves) + u" shown as "_s
                       + (shownAsThemselves.size() == 1 ? u"itself"_s : u"themselves"_s));
    if (!damaged.isEmpty())
        outcome.append(listOfFiles(damaged) + u" shown as far as "_s
                       + (damaged.size() == 1 ? u"it decodes"_s : u"they decode"_s));
    if (!builtIn.isEmpty())
        outcome.append(listOfFiles(builtIn) + u" replaced by the built-in target"_s);
    for (const QString &message : messages)
        outcome.append(u"warned once: \"%1\""_s.arg(message));
    outcome.append(u"%1 targets placed in %2 steps, the slowest %3 ms"_s.arg(drawn.size())
                       .arg(Wave::ticksPerWave + 1)
                       .arg(slowestStep)
                   + memory);
    outcome.append(
        u"the wave ended with %1 hits, %2 misses, %3"_s.arg(hits).arg(misses).arg(precision));
    qInfo().noquote() << outcome.join(u"; "_s);
}

VARKOZ_TEST_MAIN(TestBadPictures)
#include "tst_badpictures.moc"
