// The game's rules without windows or files: the draws and their rounding, the precision, and
// waves played through the game's verbs, with scripted chance and pictures of the test's own,
// which it hands over at once or later.
#include "testing.h"

#include "draws.h"
#include "game.h"
#include "score.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {
// Picture N is (81 + N) x 81 pixels, so that a hole's size tells N; the late ones come only
// when the test hands them over.
class FakePictures final : public TargetPictures
{
public:
    qint16 count() override { return 5; }
    std::optional<TargetPicture> picture(qint16 number) override
    {
        if (late.contains(number))
            return std::nullopt;
        return of(number);
    }
    void setVisibleSize(QSize) override { }

    static TargetPicture of(qint16 number)
    {
        const QSize size(81 + number, 81);
        return {QImage(size, QImage::Format_RGB32), size};
    }
    void handOver(qint16 number)
    {
        late.remove(number);
        emit ready(number, of(number));
    }

    QSet<qint16> late;
};
} // namespace

class TestGame : public QObject
{
    Q_OBJECT

    // The ticks of a wave come only where a test makes them.
    const HeldTimers m_held {{u"tmr1"_s}};
    ScriptedRandom m_random;
    FakePictures m_pictures;
    std::unique_ptr<Game> m_game;

    // Starts a wave (or puts a second target up) in the hole, with the picture.
    void startWith(int hole, int picture = 0)
    {
        m_random.push({forHole(hole), forPicture(picture, 5)});
        m_game->start();
    }
    // A tick that moves the target to the hole; its pictures come from the unscripted draws.
    void tickTo(int hole)
    {
        m_random.push({forHole(hole)});
        m_game->tick();
    }
    QList<int> standing() const
    {
        QList<int> holes;
        for (int index = 0; index < Game::holeCount; ++index)
            holes.append(m_game->hole(index).standing ? QList {index} : QList<int> {});
        return holes;
    }
    // Ticks to the end of a wave, the target going back and forth between two holes.
    void tickUntil(int lastTick)
    {
        for (int tick = m_game->tickCount() + 1; tick <= lastTick; ++tick)
            tickTo(tick % 2 ? 3 : 4);
    }

private slots:
    void init()
    {
        m_game.reset();
        m_random = {};
        m_pictures.late.clear();
        m_game = std::make_unique<Game>(m_random, m_pictures);
        m_game->countPictures();
    }

    void drawsRoundHalfToEven()
    {
        // r, then the hole r x 8 gives, and the picture of five (r x 4) gives.
        using Draw = std::tuple<float, int, int>;
        for (const auto &[r, hole, picture] :
             {Draw {0, 0, 0}, Draw {1.0f / 16, 0, 0}, Draw {std::nextafter(1.0f / 16, 1.0f), 1, 0},
              Draw {1.0f / 8, 1, 0}, Draw {3.0f / 16, 2, 1}, Draw {5.0f / 16, 2, 1},
              Draw {3.0f / 8, 3, 2}, Draw {15.0f / 16, 8, 4},
              Draw {std::nextafter(1.0f, 0.0f), 8, 4}}) {
            QCOMPARE(std::pair(Draws::holeFor(r), Draws::pictureFor(r, 5)),
                     std::pair(qint16(hole), qint16(picture)));
            QCOMPARE(Draws::pictureFor(r, 1), 0);
            // No picture at all gives 0 or -1, whose file does not exist.
            QVERIFY(Draws::pictureFor(r, 0) <= 0 && Draws::pictureFor(r, 0) >= -1);
        }
    }

    void precisionIsTheTruncatedPercentage()
    {
        // Whole numbers, the fraction dropped: neither rounded (2 of 3) nor short of a whole
        // percentage, as 29 / 50 x 100 in floating point is.
        QCOMPARE(precisionPercent(2, 1), 66);
        QCOMPARE(precisionPercent(29, 21), 58);
        QCOMPARE(precisionPercent(0, 0), 0);
    }

    void startPlacesTheFirstTarget()
    {
        // The first hole of the program's life is never hole 0: the last hole starts as 0.
        m_random.push({forHole(0), forHole(6), forPicture(3, 5)});
        m_game->start();
        // Hole draws are made again without re-seeding; the picture's draw re-seeds first.
        QCOMPARE(std::pair(m_random.reseeds, m_random.draws), std::pair(1, 3));
        QVERIFY(standing() == QList {6} && m_game->lastHole() == 6);
        // The hole takes the picture's size.
        const Hole &hole = m_game->hole(6);
        QCOMPARE(std::pair(hole.pictureNumber, hole.size), std::pair(qint16(3), QSize(84, 81)));
        QCOMPARE(hole.picture.size(), QSize(84, 81));
        // Its timer paces the wave: a tick every 600 ms, to the millisecond.
        QVERIFY(m_game->isRunning() && m_game->waveTimer().timerType() == Qt::PreciseTimer);
        QCOMPARE(m_game->waveTimer().interval(), 600);
    }

    void tickMovesTheTarget()
    {
        // The loop meets a new target above the old one again: it gets a second, fresh picture.
        for (const auto &[to, pictureDraws] : {std::pair {2, 1}, std::pair {6, 2}}) {
            init();
            startWith(4);
            m_random = {};
            m_random.push({forHole(to), forPicture(1, 5), forPicture(2, 5)});
            m_game->tick();
            QCOMPARE(standing(), QList<int> {to});
            QCOMPARE(std::pair(m_random.reseeds, m_random.draws),
                     std::pair(1 + pictureDraws, 1 + pictureDraws));
            QCOMPARE(m_game->hole(to).pictureNumber, pictureDraws);
            QCOMPARE(m_game->tickCount(), 1);
        }
    }

    void waveEndsAtTheTwentiethTick()
    {
        startWith(1);
        m_game->shootHole(1);
        m_game->shootField({10, 10});
        // New Game clears the score and nothing else: the wave goes on, with its marker.
        m_game->newGame();
        QVERIFY(!m_game->hits() && !m_game->misses());
        QVERIFY(m_game->isRunning() && m_game->isMarkerShown() && standing() == QList {1});
        m_game->shootHole(1);
        for (int tick = 1; tick < Game::ticksPerWave; ++tick) {
            tickTo(tick % 2 ? 7 : 3);
            m_game->shootField({100, 100});
            QVERIFY(m_game->isRunning() && standing().size() == 1 && !m_game->precision());
        }
        tickTo(5);
        QVERIFY(standing().isEmpty() && !m_game->isRunning() && !m_game->isMarkerShown());
        QCOMPARE(m_game->tickCount(), 0);
        QCOMPARE(m_game->precision(), 5); // the shots since New Game: 1 hit and 19 misses
        // With no target the next tick shows none, and counts.
        tickTo(2);
        QVERIFY(standing().isEmpty() && m_game->tickCount() == 1);
        // New Game clears the precision too; a wave without a shot is 0%.
        m_game->newGame();
        QCOMPARE(m_game->precision(), std::nullopt);
        startWith(1);
        tickUntil(20);
        QCOMPARE(m_game->precision(), 0);
    }

    void startDuringAWaveLeavesTwoTargets()
    {
        startWith(2);
        tickUntil(10);
        // The wave's timer runs on as it was: the next tick comes no later for a second Start.
        QTest::qSleep(200);
        startWith(8);
        QVERIFY(m_game->waveTimer().remainingTime() <= 400);
        QCOMPARE(standing(), (QList<int> {4, 8}));
        // The next tick meets both: one target is left, in the new hole.
        tickTo(0);
        QCOMPARE(standing(), QList<int> {0});
        // The wave still ends at its twentieth tick.
        tickUntil(19);
        QVERIFY(m_game->isRunning());
        tickTo(0);
        QVERIFY(!m_game->isRunning());
    }

    void shotsAtTargetsAndTheField()
    {
        startWith(2);
        startWith(7);
        // The clicked target is the one credited, as often as it is clicked; an empty hole is
        // no hit.
        m_game->shootHole(4);
        QCOMPARE(m_game->hits(), std::nullopt);
        for (int shot = 0; shot < 3; ++shot)
            m_game->shootHole(7);
        QCOMPARE(m_game->hits(), 3);
        QVERIFY(m_game->hole(7).hit && m_game->hole(7).shown() && !m_game->hole(2).hit);
        // A miss puts the marker's corner 250 twips right of and 100 above the press.
        m_game->shootField({1000.5f, 2000});
        QCOMPARE(m_game->markerPosition(), QPointF(1250.5, 1900));
        // The next target is whole, and the marker gone.
        tickTo(5);
        QVERIFY(!m_game->hole(5).hit && !m_game->isMarkerShown());
    }

    void latePicturesShowWhenTheyCome()
    {
        // A target whose picture is not at hand yet stands unseen, and a click there is no hit.
        m_pictures.late = {1, 2};
        startWith(4, 1);
        QVERIFY(m_game->hole(4).standing && !m_game->hole(4).shown());
        m_game->shootHole(4);
        QCOMPARE(m_game->hits(), std::nullopt);
        QSignalSpy changed(m_game.get(), &Game::holeChanged);
        m_pictures.handOver(1);
        QVERIFY(m_game->hole(4).shown() && changed.size() == 1);
        QCOMPARE(m_game->hole(4).size, QSize(82, 81));
        // A fireball stays what it is when its picture comes again, larger.
        m_game->shootHole(4);
        m_pictures.handOver(1);
        QVERIFY(m_game->hole(4).hit && changed.size() == 2);
        // A hole left keeps no picture; one that comes for no target standing shows nowhere.
        m_random.push({forHole(7), forPicture(0, 5), forPicture(0, 5)});
        m_game->tick();
        QVERIFY(m_game->hole(4).picture.isNull() && !m_game->hole(4).standing);
        m_pictures.handOver(2);
        QCOMPARE(standing(), QList<int> {7});
        QCOMPARE(m_game->hole(7).size, QSize(81, 81));
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
