// The game without windows: the draws and their rounding, the precision, the picture count, and
// waves played through the game's verbs with scripted chance and real picture files.
#include "testing.h"

#include "draws.h"
#include "game.h"
#include "pictureset.h"
#include "score.h"

using namespace Qt::StringLiterals;

class TestGame : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryCurrentDir> m_dir;
    ScriptedRandom m_random;
    DiskPictureLoader m_loader;
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
        m_dir.reset();
        m_dir = std::make_unique<TemporaryCurrentDir>();
        writeTargets({0, 1, 2, 3, 4});
        m_random = {};
        m_game = std::make_unique<Game>(m_random, m_loader);
        m_game->countPictures();
    }

    void drawsRoundHalfToEven()
    {
        // r, then the hole r x 8 gives, and the picture of five (r x 4) gives.
        const struct
        {
            float r;
            int hole, picture;
        } draws[] = {{0, 0, 0},        {1.0f / 16, 0, 0},  {std::nextafter(1.0f / 16, 1.0f), 1, 0},
                     {1.0f / 8, 1, 0}, {3.0f / 16, 2, 1},  {5.0f / 16, 2, 1},
                     {3.0f / 8, 3, 2}, {15.0f / 16, 8, 4}, {std::nextafter(1.0f, 0.0f), 8, 4}};
        for (const auto draw : draws) {
            QCOMPARE(Draws::holeFor(draw.r), draw.hole);
            QCOMPARE(Draws::pictureFor(draw.r, 5), draw.picture);
            QCOMPARE(Draws::pictureFor(draw.r, 1), 0);
            // No picture at all gives 0 or -1, whose file does not exist.
            QVERIFY(Draws::pictureFor(draw.r, 0) <= 0 && Draws::pictureFor(draw.r, 0) >= -1);
        }
    }

    void precisionIsTheTruncatedPercentage()
    {
        // Every score up to 200 shots: the percentage p with p <= 100 x hits / shots < p + 1.
        for (int shots = 1; shots <= 200; ++shots) {
            for (int hits = 0; hits <= shots; ++hits) {
                const int p = precisionPercent(hits, shots - hits);
                QVERIFY2(p * shots <= 100 * hits && (p + 1) * shots > 100 * hits,
                         qPrintable(u"%1 of %2 shots gave %3%"_s.arg(hits).arg(shots).arg(p)));
            }
        }
        QCOMPARE(precisionPercent(0, 0), 0);
    }

    void picturesAreCountedOnce()
    {
        QCOMPARE(m_game->pictureCount(), 5);
        // A gap counts what is there; names past 20 and folders are not counted.
        QFile::remove(u"pix/pic0.jpg"_s);
        writeTargets({20, 21});
        QDir().mkpath(u"pix/pic9.jpg"_s);
        QCOMPARE(PictureSet::count(), 5);
        QCOMPARE(m_game->pictureCount(), 5);
        QDir(u"pix"_s).removeRecursively();
        QCOMPARE(PictureSet::count(), 0);
    }

    void startPlacesTheFirstTarget()
    {
        // The first hole of the program's life is never hole 0: the last hole starts as 0.
        m_random.push({forHole(0), forHole(6), forPicture(3, 5)});
        m_game->start();
        // Hole draws are made again without re-seeding; the picture's draw re-seeds first.
        QCOMPARE(m_random.reseeds, 1);
        QCOMPARE(m_random.draws, 3);
        QCOMPARE(standing(), QList<int> {6});
        QCOMPARE(m_game->lastHole(), 6);
        // The hole takes the picture's size.
        QCOMPARE(m_game->hole(6).pictureNumber, 3);
        QCOMPARE(m_game->hole(6).size, QSize(84, 81));
        QCOMPARE(m_game->hole(6).picture.size(), QSize(84, 81));
        // Its timer paces the wave: a tick every 600 ms, to the millisecond.
        QVERIFY(m_game->isRunning());
        QCOMPARE(m_game->waveTimer().interval(), 600);
        QCOMPARE(m_game->waveTimer().timerType(), Qt::PreciseTimer);
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
            QCOMPARE(m_random.draws, 1 + pictureDraws);
            QCOMPARE(m_random.reseeds, 1 + pictureDraws);
            QCOMPARE(m_game->hole(to).pictureNumber, pictureDraws);
            QCOMPARE(m_game->tickCount(), 1);
        }
    }

    void waveEndsAtTheTwentiethTick()
    {
        startWith(1);
        m_game->shootHole(1);
        for (int tick = 1; tick < Game::ticksPerWave; ++tick) {
            tickTo(tick % 2 ? 7 : 3);
            m_game->shootField({100, 100});
            QVERIFY(m_game->isRunning() && standing().size() == 1 && !m_game->precision());
        }
        tickTo(5);
        QVERIFY(standing().isEmpty() && !m_game->isRunning() && !m_game->isMarkerShown());
        QCOMPARE(m_game->tickCount(), 0);
        QCOMPARE(m_game->precision(), 5); // 1 hit and 19 misses
        // With no target the next tick shows none, and counts.
        tickTo(2);
        QVERIFY(standing().isEmpty());
        QCOMPARE(m_game->tickCount(), 1);
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

    void newGameClearsOnlyTheScore()
    {
        startWith(4);
        m_game->shootHole(4);
        m_game->shootField({10, 10});
        m_game->newGame();
        QVERIFY(!m_game->hits() && !m_game->misses());
        QVERIFY(m_game->isRunning() && m_game->isMarkerShown());
        QCOMPARE(standing(), QList<int> {4});
        // The precision counts the shots since; none at all is 0%.
        tickUntil(19);
        m_game->shootField({10, 10});
        m_game->shootField({20, 10});
        m_game->shootHole(3);
        tickTo(0);
        QCOMPARE(m_game->precision(), 33);
        m_game->newGame();
        QCOMPARE(m_game->precision(), std::nullopt);
        startWith(1);
        tickUntil(20);
        QCOMPARE(m_game->precision(), 0);
    }

    void missingPictureShowsTheFallbackOnce()
    {
        const QImage fallback(u":/assets/fallback-target.png"_s);
        QFile::remove(u"pix/pic1.jpg"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"pix.pic1\\.jpg.*File not found"_s));
        QTest::failOnWarning(QRegularExpression(u"."_s));
        startWith(2, 1);
        startWith(5, 1);
        QCOMPARE(m_game->hole(2).picture, fallback);
        QCOMPARE(m_game->hole(5).picture, fallback);
        QCOMPARE(m_game->hole(5).size, fallback.size());
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
