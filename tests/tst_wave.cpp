// The wave engine, driven through the real main window with scripted chance and real picture
// files of distinct sizes (a hole's size tells which picture it shows): Start, the order of a
// tick's steps, the end of a wave, and a Start during a running wave.
#include "support/range.h"
#include "support/testmain.h"

#include <QTest>
#include <QTimer>

#include <thread>

using namespace Qt::StringLiterals;

namespace {
QSize sizeOfPicture(int number)
{
    return {60 + 5 * number, 50 + 3 * number};
}
} // namespace

class TestWave : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void countsPicturesOnceWhenLoaded();
    void startShowsFirstTarget();
    void tickMovesTheTarget_data();
    void tickMovesTheTarget();
    void tickWithoutTargetShowsNone();
    void waveEndsAtTheTwentiethTick();
    void startResetsNothing();
    void startDuringWaveLeavesTwoTargets();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Range> m_range;
};

void TestWave::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    for (int number = 0; number < 5; ++number)
        QVERIFY(writeJpeg(u"pix/pic%1.jpg"_s.arg(number), sizeOfPicture(number)));
    m_range = std::make_unique<Range>();
}

void TestWave::cleanup()
{
    m_range.reset();
    m_dir.reset();
}

void TestWave::countsPicturesOnceWhenLoaded()
{
    QCOMPARE(m_range->window->wave().pictureCount(), 5);
    QVERIFY(writeJpeg(u"pix/pic5.jpg"_s));
    QCOMPARE(m_range->window->wave().pictureCount(), 5);
}

void TestWave::startShowsFirstTarget()
{
    Range &range = *m_range;
    // The last hole starts at 0, so a first draw of hole 0 is drawn again.
    range.random.push({drawForHole(0), drawForHole(8), drawForPicture(2, 5)});
    range.window->Start();

    QCOMPARE(range.visibleHoles(), QList<int> {8});
    // The hole takes the picture's size from its own top-left corner.
    QCOMPARE(range.hole(8)->geometry(), QRect(QPoint(px(3240), px(3000)), sizeOfPicture(2)));
    QCOMPARE(range.loader.loaded(), QStringList {u"pix/pic2.jpg"_s});
    QVERIFY(range.timer()->isActive());
    QCOMPARE(range.timer()->timerType(), Qt::PreciseTimer);
    QVERIFY(range.field()->isEnabled());
    QCOMPARE(range.window->wave().lastHole(), 8);
    // The hole is drawn first, then the picture after its re-seed.
    QCOMPARE(range.random.log(), QStringList({u"next"_s, u"next"_s, u"reseed"_s, u"next"_s}));
}

void TestWave::tickMovesTheTarget_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("loaded");
    // Moving up the holes, the loop over them meets the new target again, hides it and fills it
    // once more with a second, freshly drawn picture.
    QTest::newRow("to a lower hole") << 6 << 2 << QStringList {u"pix/pic3.jpg"_s};
    QTest::newRow("to a higher hole")
        << 1 << 5 << QStringList({u"pix/pic3.jpg"_s, u"pix/pic4.jpg"_s});
}

void TestWave::tickMovesTheTarget()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, loaded);
    Range &range = *m_range;
    range.random.push({drawForHole(from), drawForPicture(0, 5)});
    range.window->Start();
    range.loader.clear();
    range.random.clearLog();
    range.marker()->show();
    // A draw of the same hole is drawn again, without a re-seed.
    range.random.push(
        {drawForHole(from), drawForHole(to), drawForPicture(3, 5), drawForPicture(4, 5)});
    range.tick();

    QCOMPARE(range.loader.loaded(), loaded);
    QCOMPARE(range.visibleHoles(), QList<int> {to});
    QCOMPARE(range.hole(to)->size(), sizeOfPicture(loaded.size() == 1 ? 3 : 4));
    QCOMPARE(range.random.log().mid(0, 5),
             QStringList({u"reseed"_s, u"next"_s, u"next"_s, u"reseed"_s, u"next"_s}));
    QCOMPARE(range.window->wave().tickCount(), 1);
    QVERIFY(range.marker()->isHidden());
}

void TestWave::tickWithoutTargetShowsNone()
{
    m_range->tick();
    QVERIFY(m_range->visibleHoles().isEmpty());
    QVERIFY(m_range->loader.loaded().isEmpty());
    QCOMPARE(m_range->window->wave().tickCount(), 1);
}

void TestWave::waveEndsAtTheTwentiethTick()
{
    Range &range = *m_range;
    range.window->Start();
    for (int tick = 1; tick < 20; ++tick) {
        range.tick();
        QCOMPARE(range.visibleHoles().size(), 1);
    }
    QVERIFY(range.timer()->isActive());
    range.setCaption(u"lblOut"_s, u"3"_s);
    range.setCaption(u"lblMiss"_s, u"1"_s);
    range.marker()->show();
    range.tick();

    QVERIFY(range.visibleHoles().isEmpty());
    QVERIFY(!range.timer()->isActive());
    QVERIFY(!range.field()->isEnabled());
    QCOMPARE(range.window->wave().tickCount(), 0);
    QVERIFY(range.marker()->isHidden());
    QCOMPARE(range.precision(), u"75%"_s);
}

void TestWave::startResetsNothing()
{
    Range &range = *m_range;
    range.window->Start();
    for (int tick = 0; tick < 20; ++tick)
        range.tick();
    // No shot since the score was cleared: a precision of 0.
    QCOMPARE(range.precision(), u"0%"_s);
    range.setCaption(u"lblOut"_s, u"5"_s);
    range.setCaption(u"lblMiss"_s, u"2"_s);
    range.window->Start();
    range.tick();
    QCOMPARE(range.window->wave().tickCount(), 1);
    QCOMPARE(range.hits(), u"5"_s);
    QCOMPARE(range.precision(), u"0%"_s);
    for (int tick = 1; tick < 20; ++tick)
        range.tick();
    QCOMPARE(range.precision(), u"71%"_s);
}

void TestWave::startDuringWaveLeavesTwoTargets()
{
    Range &range = *m_range;
    range.random.push({drawForHole(2), 0.0f});
    range.window->Start();
    for (int tick = 1; tick <= 5; ++tick)
        range.tick();
    const QList<int> before = range.visibleHoles();
    const int timerId = range.timer()->timerId();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const int remaining = range.timer()->remainingTime();

    range.window->Start();
    QCOMPARE(range.visibleHoles().size(), 2);
    QVERIFY(range.visibleHoles().contains(before.first()));
    // The running timer is not restarted.
    QCOMPARE(range.timer()->timerId(), timerId);
    QVERIFY(range.timer()->remainingTime() <= remaining);

    range.tick();
    QCOMPARE(range.visibleHoles(), QList<int> {range.window->wave().lastHole()});
    // Nor is the wave lengthened: it still ends at its twentieth tick.
    for (int tick = 7; tick < 20; ++tick)
        range.tick();
    QVERIFY(range.timer()->isActive());
    range.tick();
    QVERIFY(!range.timer()->isActive());
}

VARKOZ_TEST_MAIN(TestWave)
#include "tst_wave.moc"
