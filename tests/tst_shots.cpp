// Shots and score with real mouse events on the shown main window: hits on the target, misses
// on the field with the bullet-hole marker, and New Game.
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

    void clickOnTargetIsAHit();
    void everyClickOnTheTargetCounts();
    void quickClicksAreEachAHit();
    void otherButtonsOnTargetAreNeitherHitNorMiss();
    void clickCreditsTheHoleThatWasClicked();
    void pressInAGapIsAMiss();
    void pressOnAHiddenHoleIsAMiss();
    void everyButtonMisses_data();
    void everyButtonMisses();
    void markerLandsWherePressed_data();
    void markerLandsWherePressed();
    void pressOnTheMarkerCountsNothing();
    void quickDoublePressInAGapIsOneMiss();
    void pressBesideTheMarkerMovesIt();
    void markerNearTheEdgeLiesOverOtherControls();
    void betweenWavesTheFieldIgnoresPresses();
    void newGameClearsTheCaptionsOnly();
    void newGameDuringAWaveCountsOnlyLaterShots();

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

void TestShots::clickOnTargetIsAHit()
{
    Range &range = waveWithTargetIn(4);
    QVERIFY(!showsFireball(range, 4));
    range.clickClient(Range::holeCentre(4));
    QCOMPARE(range.hits(), u"1"_s);
    QCOMPARE(range.misses(), u""_s);
    QVERIFY(showsFireball(range, 4));
    QVERIFY(!range.hole(4)->isHidden());
    QVERIFY(range.marker()->isHidden());
}

void TestShots::everyClickOnTheTargetCounts()
{
    Range &range = waveWithTargetIn(2);
    for (int click = 0; click < 3; ++click)
        range.clickClient(Range::holeCentre(2) + QPoint(click * 10, -click * 10));
    QCOMPARE(range.hits(), u"3"_s);
    QVERIFY(showsFireball(range, 2));
}

void TestShots::quickClicksAreEachAHit()
{
    // A double click and one more click in quick succession: three presses, three hits.
    Range &range = waveWithTargetIn(6);
    const QPoint centre = range.windowPoint(Range::holeCentre(6));
    QTest::mouseDClick(range.window->windowHandle(), Qt::LeftButton, {}, centre);
    QTest::mouseClick(range.window->windowHandle(), Qt::LeftButton, {}, centre, 10);
    QCOMPARE(range.hits(), u"3"_s);
}

void TestShots::otherButtonsOnTargetAreNeitherHitNorMiss()
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

void TestShots::pressInAGapIsAMiss()
{
    Range &range = waveWithTargetIn(0);
    range.clickClient(gapBetweenHoles);
    QCOMPARE(range.misses(), u"1"_s);
    QCOMPARE(range.hits(), u""_s);
    QVERIFY(!range.marker()->isHidden());
    range.clickClient(gapBelowHole4);
    QCOMPARE(range.misses(), u"2"_s);
}

void TestShots::pressOnAHiddenHoleIsAMiss()
{
    Range &range = waveWithTargetIn(0);
    range.clickClient(Range::holeCentre(8));
    QCOMPARE(range.misses(), u"1"_s);
    QCOMPARE(range.hits(), u""_s);
}

void TestShots::everyButtonMisses_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestShots::everyButtonMisses()
{
    QFETCH(Qt::MouseButton, button);
    Range &range = waveWithTargetIn(4);
    range.clickClient(gapBetweenHoles, button);
    QCOMPARE(range.misses(), u"1"_s);
}

void TestShots::markerLandsWherePressed_data()
{
    QTest::addColumn<QPoint>("client");
    QTest::newRow("gap") << gapBetweenHoles;
    QTest::newRow("top-left corner of the field") << QPoint(px(480), px(120));
    QTest::newRow("caption strip") << QPoint(px(480) + 20, px(120) + 3);
    QTest::newRow("hidden hole") << Range::holeCentre(5);
}

void TestShots::markerLandsWherePressed()
{
    QFETCH(QPoint, client);
    Range &range = waveWithTargetIn(0);
    range.clickClient(client);
    // Left edge X + 250 and top edge Y - 100 in window twips, where X, Y are the pressed point's
    // twips from the field's corner at (480, 120).
    const double x = (client.x() - px(480)) * 15.0;
    const double y = (client.y() - px(120)) * 15.0;
    QCOMPARE(range.marker()->pos(), QPoint(qRound((x + 250) / 15), qRound((y - 100) / 15)));
    QCOMPARE(range.marker()->size(), QSize(31, 31));
    // So the bullet hole's centre lies at the pressed point, within a pixel.
    const QPoint centre = range.marker()->geometry().center();
    QVERIFY2((centre - client).manhattanLength() <= 2,
             qPrintable(u"marker centre %1,%2 for a press at %3,%4"_s.arg(centre.x())
                            .arg(centre.y())
                            .arg(client.x())
                            .arg(client.y())));
}

void TestShots::pressOnTheMarkerCountsNothing()
{
    Range &range = waveWithTargetIn(0);
    range.clickClient(gapBetweenHoles);
    const QPoint markerAt = range.marker()->pos();
    range.clickClient(gapBetweenHoles);
    range.clickClient(gapBetweenHoles + QPoint(10, 10));
    QCOMPARE(range.misses(), u"1"_s);
    QCOMPARE(range.marker()->pos(), markerAt);
}

void TestShots::quickDoublePressInAGapIsOneMiss()
{
    Range &range = waveWithTargetIn(0);
    QTest::mouseDClick(range.window->windowHandle(), Qt::LeftButton, {},
                       range.windowPoint(gapBelowHole4));
    QCOMPARE(range.misses(), u"1"_s);
}

void TestShots::pressBesideTheMarkerMovesIt()
{
    Range &range = waveWithTargetIn(0);
    range.clickClient(gapBetweenHoles);
    range.clickClient(gapBelowHole4);
    QCOMPARE(range.misses(), u"2"_s);
    QVERIFY(range.marker()->geometry().contains(gapBelowHole4));
    QVERIFY(!range.marker()->geometry().contains(gapBetweenHoles));
}

void TestShots::markerNearTheEdgeLiesOverOtherControls()
{
    // A press at the field's bottom-right corner puts the marker partly outside the frame, over
    // whatever lies there.
    Range &range = waveWithTargetIn(0);
    const QPoint corner(px(4575) - 1, px(4335) - 1);
    range.clickClient(corner);
    QCOMPARE(range.misses(), u"1"_s);
    const QRect marker = range.marker()->geometry();
    QVERIFY(!range.field()->geometry().contains(marker));
    QCOMPARE(range.window->centralWidget()->childAt(marker.bottomRight()), range.marker());
}

void TestShots::betweenWavesTheFieldIgnoresPresses()
{
    Range &range = *m_range;
    range.clickClient(gapBetweenHoles);
    range.clickClient(Range::holeCentre(4), Qt::RightButton);
    QCOMPARE(range.misses(), u""_s);
    QVERIFY(range.marker()->isHidden());

    // And after a wave has ended, too.
    waveWithTargetIn(4);
    for (int tick = 0; tick < 20; ++tick)
        range.tick();
    range.clickClient(gapBetweenHoles);
    QCOMPARE(range.misses(), u""_s);
}

void TestShots::newGameClearsTheCaptionsOnly()
{
    Range &range = waveWithTargetIn(4);
    range.clickClient(Range::holeCentre(4));
    range.clickClient(gapBetweenHoles);
    range.tick();
    range.tick();
    range.setCaption(u"lblTotal"_s, u"50%"_s);
    const QList<int> targets = range.visibleHoles();

    QTest::keyClick(range.window.get(), Qt::Key_N, Qt::ControlModifier);

    QCOMPARE(range.hits(), u""_s);
    QCOMPARE(range.misses(), u""_s);
    QCOMPARE(range.precision(), u""_s);
    QCOMPARE(range.visibleHoles(), targets);
    QCOMPARE(range.window->wave().tickCount(), 2);
    QVERIFY(range.timer()->isActive());
    QVERIFY(range.field()->isEnabled());

    // The next miss writes 1 while the hits stay empty.
    range.clickClient(gapBetweenHoles);
    QCOMPARE(range.misses(), u"1"_s);
    QCOMPARE(range.hits(), u""_s);
}

void TestShots::newGameDuringAWaveCountsOnlyLaterShots()
{
    Range &range = waveWithTargetIn(4);
    range.clickClient(gapBetweenHoles);
    range.clickClient(gapBelowHole4);
    range.window->findChild<QAction *>(u"mnuNew"_s)->trigger();
    range.clickClient(Range::holeCentre(4));
    range.clickClient(Range::holeCentre(4));
    range.tick(); // hides the marker
    range.clickClient(gapBetweenHoles);
    for (int tick = 1; tick < 20; ++tick)
        range.tick();
    QCOMPARE(range.precision(), u"66%"_s);
}

VARKOZ_TEST_MAIN(TestShots)
#include "tst_shots.moc"
