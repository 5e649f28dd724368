// The wave engine, driven through the real main window with scripted chance and real picture
// files: Start, the order of a tick's steps, the end of a wave, and the fallback target.
#include "support/range.h"
#include "support/testmain.h"
#include "support/warnings.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <QTimer>

#include <thread>

using namespace Qt::StringLiterals;

namespace {
// Pictures of distinct sizes, so the size of a hole tells which picture it shows.
QSize sizeOfPicture(int number)
{
    return {60 + 5 * number, 50 + 3 * number};
}

void writeSizedPictures(int count)
{
    for (int number = 0; number < count; ++number)
        QVERIFY(writeJpeg(u"pix/pic%1.jpg"_s.arg(number), sizeOfPicture(number)));
}
} // namespace

class TestWave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void countsPicturesWhenLoaded();
    void startShowsFirstTarget();
    void firstHoleOfTheProgramIsNeverHoleZero();
    void holeTakesPictureSizeKeepingItsCorner();
    void tickMovesTargetToAnotherHole();
    void tickDrawsInTheSpecifiedOrder();
    void newHoleAboveOldIsFilledTwice();
    void newHoleBelowOldIsFilledOnce();
    void tickWithoutTargetShowsNone();
    void everyTickHidesTheMissMarker();
    void pictureIsReadFromDiskEveryTime();
    void waveEndsAtTheTwentiethTick();
    void waveEndWritesPrecision_data();
    void waveEndWritesPrecision();
    void startResetsNothing();
    void startDuringWaveLeavesTwoTargets();
    void startDuringWaveDoesNotRestartTheTimer();
    void missingPicturesShowTheFallbackTarget();
    void fallbackWarnsOncePerFileThroughAWave();
    void gapInNumberingShowsFallbackForTheGap();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
};

void TestWave::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    QVERIFY(m_dir->isValid());
}

void TestWave::cleanup()
{
    m_dir.reset();
}

void TestWave::countsPicturesWhenLoaded()
{
    writeSizedPictures(5);
    const Range range(false);
    QCOMPARE(range.window->wave().pictureCount(), 5);
    // Counted once: later files change nothing.
    writeSizedPictures(7);
    QCOMPARE(range.window->wave().pictureCount(), 5);
}

void TestWave::startShowsFirstTarget()
{
    writeSizedPictures(5);
    Range range;
    range.random.push({drawForHole(4), drawForPicture(2, 5)});
    range.window->Start();

    QCOMPARE(range.visibleHoles(), QList<int> {4});
    QCOMPARE(range.hole(4)->size(), sizeOfPicture(2));
    QCOMPARE(range.loader.loaded(), QStringList {u"pix/pic2.jpg"_s});
    QVERIFY(range.timer()->isActive());
    QCOMPARE(range.timer()->interval(), 600);
    QCOMPARE(range.timer()->timerType(), Qt::PreciseTimer);
    QVERIFY(range.field()->isEnabled());
    QCOMPARE(range.window->wave().tickCount(), 0);
    QCOMPARE(range.window->wave().lastHole(), 4);
    // The hole is drawn first, then the picture after its re-seed.
    QCOMPARE(range.random.log(), QStringList({u"next"_s, u"reseed"_s, u"next"_s}));
}

void TestWave::firstHoleOfTheProgramIsNeverHoleZero()
{
    writeSizedPictures(1);
    Range range;
    range.random.push({drawForHole(0), drawForHole(0), drawForHole(3)});
    range.window->Start();
    QCOMPARE(range.visibleHoles(), QList<int> {3});
}

void TestWave::holeTakesPictureSizeKeepingItsCorner()
{
    QVERIFY(writeJpeg(u"pix/pic0.jpg"_s, {120, 90}));
    Range range;
    range.random.push({drawForHole(8), 0.0f});
    const QPoint corner = range.hole(8)->pos();
    range.window->Start();
    QCOMPARE(range.hole(8)->geometry(), QRect(corner, QSize(120, 90)));
    QCOMPARE(corner, QPoint(px(3240), px(3000)));
}

void TestWave::tickMovesTargetToAnotherHole()
{
    writeSizedPictures(3);
    Range range;
    range.random.push({drawForHole(7), drawForPicture(0, 3)});
    range.window->Start();
    range.random.push({drawForHole(2), drawForPicture(1, 3)});
    range.tick();
    QCOMPARE(range.visibleHoles(), QList<int> {2});
    QCOMPARE(range.hole(2)->size(), sizeOfPicture(1));
    QCOMPARE(range.window->wave().tickCount(), 1);
    QCOMPARE(range.window->wave().lastHole(), 2);
}

void TestWave::tickDrawsInTheSpecifiedOrder()
{
    writeSizedPictures(3);
    Range range;
    range.random.push({drawForHole(7), 0.0f});
    range.window->Start();
    range.random.clearLog();
    // The tick re-seeds, draws its hole (here once more, as the first draw repeats hole 7),
    // then re-seeds again for the picture.
    range.random.push({drawForHole(7), drawForHole(1), 0.0f});
    range.tick();
    QCOMPARE(range.random.log(),
             QStringList({u"reseed"_s, u"next"_s, u"next"_s, u"reseed"_s, u"next"_s}));
    QCOMPARE(range.visibleHoles(), QList<int> {1});
}

void TestWave::newHoleAboveOldIsFilledTwice()
{
    // Moving from hole 1 to hole 5, the loop over the holes meets the new target again at 5,
    // hides it and fills it once more with a second, freshly drawn picture.
    writeSizedPictures(5);
    Range range;
    range.random.push({drawForHole(1), drawForPicture(0, 5)});
    range.window->Start();
    range.loader.clear();
    range.random.push({drawForHole(5), drawForPicture(3, 5), drawForPicture(4, 5)});
    range.tick();
    QCOMPARE(range.loader.loaded(), QStringList({u"pix/pic3.jpg"_s, u"pix/pic4.jpg"_s}));
    QCOMPARE(range.visibleHoles(), QList<int> {5});
    QCOMPARE(range.hole(5)->size(), sizeOfPicture(4));
}

void TestWave::newHoleBelowOldIsFilledOnce()
{
    writeSizedPictures(5);
    Range range;
    range.random.push({drawForHole(6), drawForPicture(0, 5)});
    range.window->Start();
    range.loader.clear();
    range.random.push({drawForHole(2), drawForPicture(3, 5)});
    range.tick();
    QCOMPARE(range.loader.loaded(), QStringList {u"pix/pic3.jpg"_s});
    QCOMPARE(range.visibleHoles(), QList<int> {2});
    QCOMPARE(range.hole(2)->size(), sizeOfPicture(3));
}

void TestWave::tickWithoutTargetShowsNone()
{
    writeSizedPictures(2);
    Range range;
    range.tick();
    QVERIFY(range.visibleHoles().isEmpty());
    QVERIFY(range.loader.loaded().isEmpty());
    QCOMPARE(range.window->wave().tickCount(), 1);
}

void TestWave::everyTickHidesTheMissMarker()
{
    writeSizedPictures(2);
    Range range;
    range.window->Start();
    for (int tick = 1; tick <= 20; ++tick) {
        range.marker()->show();
        range.tick();
        QVERIFY2(range.marker()->isHidden(), qPrintable(u"tick %1"_s.arg(tick)));
    }
}

void TestWave::pictureIsReadFromDiskEveryTime()
{
    QVERIFY(writeJpeg(u"pix/pic0.jpg"_s, {81, 81}));
    Range range;
    range.random.push({drawForHole(1), 0.0f});
    range.window->Start();
    QCOMPARE(range.hole(1)->size(), QSize(81, 81));
    QVERIFY(writeJpeg(u"pix/pic0.jpg"_s, {33, 44}));
    range.random.push({drawForHole(0), 0.0f});
    range.tick();
    QCOMPARE(range.hole(0)->size(), QSize(33, 44));
}

void TestWave::waveEndsAtTheTwentiethTick()
{
    writeSizedPictures(4);
    Range range;
    range.window->Start();
    for (int tick = 1; tick < 20; ++tick) {
        range.tick();
        QCOMPARE(range.visibleHoles().size(), 1);
        QCOMPARE(range.window->wave().tickCount(), tick);
    }
    QVERIFY(range.timer()->isActive());
    range.marker()->show();
    range.tick();

    QVERIFY(range.visibleHoles().isEmpty());
    QVERIFY(!range.timer()->isActive());
    QVERIFY(!range.field()->isEnabled());
    QCOMPARE(range.window->wave().tickCount(), 0);
    QVERIFY(range.marker()->isHidden());
    // No shot since the score was cleared: a precision of 0.
    QCOMPARE(range.precision(), u"0%"_s);
    // A wave shows twenty targets: the first from Start, one from each of ticks 1 to 19; the
    // one placed at tick 20 is hidden again at once.
    QVERIFY(range.loader.loaded().size() >= 21);
}

void TestWave::waveEndWritesPrecision_data()
{
    QTest::addColumn<QString>("hits");
    QTest::addColumn<QString>("misses");
    QTest::addColumn<QString>("precision");
    // The arithmetic has its own tests; these show the end of a wave reads the right captions.
    QTest::newRow("3 and 1") << u"3"_s << u"1"_s << u"75%"_s;
    QTest::newRow("4 and none") << u"4"_s << u""_s << u"100%"_s;
    QTest::newRow("cleared") << u""_s << u""_s << u"0%"_s;
}

void TestWave::waveEndWritesPrecision()
{
    QFETCH(QString, hits);
    QFETCH(QString, misses);
    QFETCH(QString, precision);
    writeSizedPictures(2);
    Range range;
    range.window->Start();
    range.setCaption(u"lblOut"_s, hits);
    range.setCaption(u"lblMiss"_s, misses);
    for (int tick = 0; tick < 20; ++tick)
        range.tick();
    QCOMPARE(range.precision(), precision);
    QCOMPARE(range.hits(), hits);
    QCOMPARE(range.misses(), misses);
}

void TestWave::startResetsNothing()
{
    writeSizedPictures(2);
    Range range;
    range.window->Start();
    for (int tick = 0; tick < 20; ++tick)
        range.tick();
    range.setCaption(u"lblOut"_s, u"5"_s);
    range.setCaption(u"lblMiss"_s, u"2"_s);
    range.window->Start();
    range.tick();
    range.tick();
    QCOMPARE(range.window->wave().tickCount(), 2);
    QCOMPARE(range.hits(), u"5"_s);
    QCOMPARE(range.misses(), u"2"_s);
    // The last wave's precision stands until this one ends, and then counts every shot since
    // the score was cleared.
    QCOMPARE(range.precision(), u"0%"_s);
    for (int tick = 2; tick < 20; ++tick)
        range.tick();
    QCOMPARE(range.precision(), u"71%"_s);
}

void TestWave::startDuringWaveLeavesTwoTargets()
{
    writeSizedPictures(2);
    Range range;
    range.random.push({drawForHole(2), 0.0f});
    range.window->Start();
    for (int tick = 1; tick <= 5; ++tick)
        range.tick();
    const QList<int> before = range.visibleHoles();
    QCOMPARE(before.size(), 1);

    range.window->Start();
    QCOMPARE(range.visibleHoles().size(), 2);
    QVERIFY(range.visibleHoles().contains(before.first()));

    range.tick();
    QCOMPARE(range.visibleHoles(), QList<int> {range.window->wave().lastHole()});
    // The wave is not lengthened: it still ends at its twentieth tick.
    for (int tick = 7; tick < 20; ++tick)
        range.tick();
    QVERIFY(range.timer()->isActive());
    range.tick();
    QVERIFY(!range.timer()->isActive());
    QVERIFY(range.visibleHoles().isEmpty());
}

void TestWave::startDuringWaveDoesNotRestartTheTimer()
{
    writeSizedPictures(2);
    Range range;
    range.window->Start();
    const int timerId = range.timer()->timerId();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const int remaining = range.timer()->remainingTime();
    QVERIFY2(remaining <= 460, qPrintable(u"%1 ms left"_s.arg(remaining)));
    range.window->Start();
    QCOMPARE(range.timer()->timerId(), timerId);
    QVERIFY(range.timer()->remainingTime() <= remaining);
}

void TestWave::missingPicturesShowTheFallbackTarget()
{
    // No pix folder at all: the count is 0, the draws give 0 or -1, neither file exists.
    const QImage fallback(u":/assets/fallback-target.png"_s);
    QVERIFY(!fallback.isNull());
    Range range;
    QCOMPARE(range.window->wave().pictureCount(), 0);
    const WarningLog warnings;
    range.random.push({drawForHole(4), 0.9f});
    range.window->Start();
    QCOMPARE(range.visibleHoles(), QList<int> {4});
    QCOMPARE(range.hole(4)->picture().toImage().convertToFormat(QImage::Format_RGB32),
             fallback.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(range.hole(4)->size(), QSize(81, 81));
    QCOMPARE(warnings.messages().size(), 1);
    QCOMPARE(warnings.countsPerFile().value(u"pix/pic-1.jpg"_s), 1);
}

void TestWave::fallbackWarnsOncePerFileThroughAWave()
{
    Range range;
    const WarningLog warnings;
    range.window->Start();
    for (int tick = 0; tick < 20; ++tick) {
        range.tick();
        if (tick < 19)
            QCOMPARE(range.visibleHoles().size(), 1);
    }
    QVERIFY(!range.timer()->isActive());
    // Only two names can come up with no pictures: pic0.jpg and pic-1.jpg, each named once.
    const QHash<QString, int> perFile = warnings.countsPerFile();
    QVERIFY(!perFile.isEmpty());
    for (auto named = perFile.cbegin(); named != perFile.cend(); ++named) {
        QVERIFY2(named.key() == u"pix/pic0.jpg"_s || named.key() == u"pix/pic-1.jpg"_s,
                 qPrintable(named.key()));
        QCOMPARE(named.value(), 1);
    }
}

void TestWave::gapInNumberingShowsFallbackForTheGap()
{
    for (int number = 1; number <= 8; ++number)
        QVERIFY(writeJpeg(u"pix/pic%1.jpg"_s.arg(number), sizeOfPicture(number)));
    Range range;
    QCOMPARE(range.window->wave().pictureCount(), 8);
    const WarningLog warnings;
    range.random.push({drawForHole(3), drawForPicture(0, 8)});
    range.window->Start();
    range.random.push({drawForHole(1), drawForPicture(7, 8)});
    range.tick();
    QCOMPARE(warnings.countsPerFile(), (QHash<QString, int> {{u"pix/pic0.jpg"_s, 1}}));
    QCOMPARE(range.hole(1)->size(), sizeOfPicture(7));
}

VARKOZ_TEST_MAIN(TestWave)
#include "tst_wave.moc"
