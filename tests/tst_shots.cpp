// Shots and score with real mouse events on the shown main window: hits on the target, misses
// on the field with the bullet-hole marker, and New Game. CTest also runs it at the screen
// scales 2 and 1.5, where every press must land where it did.
#include "support/range.h"
#include "support/testmain.h"

#include <QAction>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// A point in the gap between holes 0 and 1, and one in the gap below hole 4.
const QPoint gapBetweenHoles {px(1920) - 3, px(360) + 40};
const QPoint gapBelowHole4 {px(1920) + 40, px(1680) + 81 + 3};

bool showsFireball(const Range &range, int hole)
{
    return range.hole(hole)->picture().cacheKey() == range.hitPicture()->picture().cacheKey();
}
} // namespace

class TestShots : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyClickOnTheTargetIsAHit();
    void otherButtonsOnTheTargetCountNothing();
    void clickCreditsTheHoleThatWasClicked();
    void pressOnTheFieldIsAMiss_data();
    void pressOnTheFieldIsAMiss();
    void theMarkerSwallowsPresses();
    void markerNearTheEdgeLiesOverOtherControls();
    void betweenWavesTheFieldIgnoresPresses();
    void newGameClearsTheCaptionsOnly();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Range> m_range;
    // Starts a wave with its target in this hole.
    Range &waveWithTargetIn(int hole);
};

void TestShots::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0, 1, 2});
    m_range = std::make_unique<Range>();
}

void TestShots::cleanup()
{
    m_range.reset();
    m_dir.reset();
}

Range &TestShots::waveWithTargetIn(int hole)
{
    m_range->random.push({drawForHole(hole), 0.0f});
    m_range->window->Start();
    return *m_range;
}

void TestShots::everyClickOnTheTargetIsAHit()
{
    Range &range = waveWithTargetIn(4);
    QVERIFY(!showsFireball(range, 4));
    range.clickClient(Range::holeCentre(4));
    QCOMPARE(range.hits(), u"1"_s);
    QVERIFY(showsFireball(range, 4));
    QVERIFY(!range.hole(4)->isHidden());
    // A quick double click brings two presses more; Qt reports the second as a double click.
    QTest::mouseDClick(range.window->windowHandle(), Qt::LeftButton, {},
                       range.windowPoint(Range::holeCentre(4) + QPoint(10, -10)));
    QCOMPARE(range.hits(), u"3"_s);
    QCOMPARE(range.misses(), u""_s);
    QVERIFY(range.marker()->isHidden());
}

void TestShots::otherButtonsOnTheTargetCountNothing()
{
    Range &range = waveWithTargetIn(3);
    range.clickClient(Range::holeCentre(3), Qt::RightButton);
    range.clickClient(Range::holeCentre(3), Qt::MiddleButton);
    QCOMPARE(range.hits(), u""_s);
    QCOMPARE(range.misses(), u""_s);
}

void TestShots::clickCreditsTheHoleThatWasClicked()
{
    // With two targets standing (Start during a wave), the fireball goes where the player
    // shot, and only one hit is counted.
    Range &range = waveWithTargetIn(1);
    range.random.push({drawForHole(7), 0.0f});
    range.window->Start();
    QCOMPARE(range.visibleHoles(), QList<int>({1, 7}));
    range.clickClient(Range::holeCentre(7));
    QCOMPARE(range.hits(), u"1"_s);
    QVERIFY(showsFireball(range, 7));
    QVERIFY(!showsFireball(range, 1));
}

void TestShots::pressOnTheFieldIsAMiss_data()
{
    QTest::addColumn<QPoint>("client");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("gap, left button") << gapBetweenHoles << Qt::LeftButton;
    QTest::newRow("gap, right button") << gapBelowHole4 << Qt::RightButton;
    QTest::newRow("hidden hole, middle button") << Range::holeCentre(5) << Qt::MiddleButton;
    QTest::newRow("field's corner") << QPoint(px(480), px(120)) << Qt::LeftButton;
    QTest::newRow("caption strip") << QPoint(px(480) + 20, px(120) + 3) << Qt::LeftButton;
}

void TestShots::pressOnTheFieldIsAMiss()
{
    QFETCH(QPoint, client);
    QFETCH(Qt::MouseButton, button);
    Range &range = waveWithTargetIn(0);
    range.clickClient(client, button);
    QCOMPARE(range.misses(), u"1"_s);
    QCOMPARE(range.hits(), u""_s);
    QVERIFY(!range.marker()->isHidden());
    // Left edge X + 250 and top edge Y - 100 in window twips, where X, Y are the pressed point's
    // twips from the field's corner at (480, 120); so the bullet hole's centre is the press.
    const double x = (client.x() - px(480)) * 15.0;
    const double y = (client.y() - px(120)) * 15.0;
    QCOMPARE(range.marker()->pos(), QPoint(qRound((x + 250) / 15), qRound((y - 100) / 15)));
    QCOMPARE(range.marker()->size(), QSize(31, 31));
    QVERIFY((range.marker()->geometry().center() - client).manhattanLength() <= 2);
}

void TestShots::theMarkerSwallowsPresses()
{
    Range &range = waveWithTargetIn(0);
    // The second press of a quick double press lands on the marker the first put there.
    QTest::mouseDClick(range.window->windowHandle(), Qt::LeftButton, {},
                       range.windowPoint(gapBetweenHoles));
    range.clickClient(gapBetweenHoles + QPoint(10, 10));
    QCOMPARE(range.misses(), u"1"_s);
    // A press beside it counts, and moves it there.
    range.clickClient(gapBelowHole4);
    QCOMPARE(range.misses(), u"2"_s);
    QVERIFY(range.marker()->geometry().contains(gapBelowHole4));
}

void TestShots::markerNearTheEdgeLiesOverOtherControls()
{
    Range &range = waveWithTargetIn(0);
    const QPoint corner(px(4575) - 1, px(4335) - 1);
    range.clickClient(corner);
    const QRect marker = range.marker()->geometry();
    QVERIFY(!range.field()->geometry().contains(marker));
    QCOMPARE(range.window->centralWidget()->childAt(marker.bottomRight()), range.marker());
}

void TestShots::betweenWavesTheFieldIgnoresPresses()
{
    Range &range = *m_range;
    range.clickClient(gapBetweenHoles);
    QCOMPARE(range.misses(), u""_s);
    waveWithTargetIn(4);
    for (int tick = 0; tick < 20; ++tick)
        range.tick();
    range.clickClient(gapBetweenHoles);
    QCOMPARE(range.misses(), u""_s);
    QVERIFY(range.marker()->isHidden());
}

void TestShots::newGameClearsTheCaptionsOnly()
{
    Range &range = waveWithTargetIn(4);
    range.clickClient(Range::holeCentre(4));
    range.clickClient(gapBetweenHoles);
    range.tick();
    range.setCaption(u"lblTotal"_s, u"50%"_s);
    const QList<int> targets = range.visibleHoles();

    range.window->findChild<QAction *>(u"mnuNew"_s)->trigger();
    QCOMPARE(range.hits(), u""_s);
    QCOMPARE(range.misses(), u""_s);
    QCOMPARE(range.precision(), u""_s);
    QCOMPARE(range.visibleHoles(), targets);
    QCOMPARE(range.window->wave().tickCount(), 1);
    QVERIFY(range.timer()->isActive());

    // The wave goes on, and its precision counts only the shots after the clearing; the next
    // miss writes 1 while the hits stay empty.
    range.clickClient(gapBelowHole4);
    QCOMPARE(range.misses(), u"1"_s);
    QCOMPARE(range.hits(), u""_s);
    for (int tick = 1; tick < 20; ++tick)
        range.tick();
    QCOMPARE(range.precision(), u"0%"_s);
}

VARKOZ_TEST_MAIN(TestShots)
#include "tst_shots.moc"
