// The game without windows: the draws and their rounding, the precision, the picture count, and
// waves played through the game's verbs with scripted chance and real picture files. Then
// whatever the player puts in the pix folder: every kind of bad file read by the real loader with
// Qt's real decoders without holding up the game, and photos of many megapixels decoded on the
// side, only as far as they can be seen, and kept while their files stay as they are.
#include "testing.h"

#include "draws.h"
#include "game.h"
#include "pictureset.h"
#include "score.h"

#include <QBuffer>
#include <QThread>
#include <QtEndian>

#include <atomic>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {
const QString pic1 = u"pix/pic1.jpg"_s;
const QSize visible(337, 387);

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG whose header promises 30000 x 30000 pixels, and brings a few.
QByteArray hugeJpegHeader()
{
    QByteArray bytes = encoded(QImage(8, 8, QImage::Format_RGB32), "jpeg");
    const qsizetype frame = bytes.indexOf("\xff\xc0"); // height and width follow at 5 and 7
    qToBigEndian<quint16>(30000, bytes.data() + frame + 5);
    qToBigEndian<quint16>(30000, bytes.data() + frame + 7);
    return bytes;
}

// The real loader, noting the most pixels it decoded on the game's thread.
struct RecordingLoader final : PictureLoader
{
    PictureFile load(const QString &fileName, QSize part, qint64 mostPixels) const override
    {
        PictureFile file = DiskPictureLoader().load(fileName, part, mostPixels);
        if (QThread::currentThread() == QCoreApplication::instance()->thread()
            && !file.overPixelLimit)
            largest = qMax(largest.load(), qint64(file.size.width()) * file.size.height());
        return file;
    }
    mutable std::atomic<qint64> largest = 0;
};

#ifdef Q_OS_WIN
// The file held open without sharing, as another program may hold it, until the handle is let go.
std::shared_ptr<void> holdOpen(const QString &fileName)
{
    return {CreateFileW(reinterpret_cast<LPCWSTR>(fileName.utf16()), GENERIC_READ, 0, nullptr,
                        OPEN_EXISTING, 0, nullptr),
            CloseHandle};
}
#endif
} // namespace

class TestGame : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryCurrentDir> m_dir;
    // The ticks of a wave come only where a test makes them.
    const HeldTimers m_held {{u"tmr1"_s}};
    ScriptedRandom m_random;
    DiskPictureLoader m_loader;
    std::unique_ptr<Game> m_game;
    std::shared_ptr<void> m_heldOpen; // a target file held open by a bad-file row

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
        m_heldOpen.reset();
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

    void picturesAreCountedOnce()
    {
        // A gap counts what is there; names past 20 and folders are not counted.
        QVERIFY(removeWhenLetGo(u"pix/pic0.jpg"_s));
        writeTargets({20, 21});
        QDir().mkpath(u"pix/pic9.jpg"_s);
        QVERIFY(PictureSet::count() == 5 && m_game->pictureCount() == 5);
        QVERIFY(removeWhenLetGo(u"pix"_s));
        QCOMPARE(PictureSet::count(), 0);
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

    void missingPictureShowsTheFallbackOnce()
    {
        const QImage fallback(u":/assets/fallback-target.png"_s);
        QVERIFY(removeWhenLetGo(pic1));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"pix.pic1\\.jpg.*File not found"_s));
        QTest::failOnWarning(QRegularExpression(u"."_s));
        startWith(2, 1);
        startWith(5, 1);
        QVERIFY(m_game->hole(2).picture == fallback && m_game->hole(5).picture == fallback);
        QCOMPARE(m_game->hole(5).size, fallback.size());
    }

    void badFiles_data()
    {
        using Lay = std::function<void()>;
        QTest::addColumn<Lay>("lay");
        QTest::addColumn<QString>("reason"); // empty where the picture shows
        const QImage picture = striped({400, 300});
        const auto bytes = [](const QByteArray &content) {
            return Lay([=] {
                QFile file(pic1);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            });
        };
        const QByteArray jpeg = encoded(picture, "jpeg");
        QTest::newRow("text") << bytes("not a picture\n") << u"Unsupported image format"_s;
        QTest::newRow("JPEG cut short")
            << bytes(jpeg.left(jpeg.size() * 2 / 3)) << u"Corrupt JPEG data"_s;
        QTest::newRow("PNG") << bytes(encoded(picture, "png")) << QString();
        QTest::newRow("30000 x 30000 header")
            << bytes(hugeJpegHeader()) << u"too large (30000 x 30000 pixels)"_s;
        QTest::newRow("folder") << Lay([] { QDir().mkpath(pic1); }) << u"it is a folder"_s;
#ifdef Q_OS_WIN
        // Held open without sharing, for as long as the row lasts.
        QTest::newRow("held open") << Lay([=, this] {
            bytes(jpeg)();
            m_heldOpen = holdOpen(pic1);
        }) << qt_error_string(ERROR_SHARING_VIOLATION);
#else
        const auto link = [](const QString &to) {
            return Lay([=] { QFile::link(to, pic1); });
        };
        QTest::newRow("unreadable") << Lay([=] {
            bytes(jpeg)();
            QFile::setPermissions(pic1, {});
        }) << u"there is no permission to read it"_s;
        QTest::newRow("broken link") << link(u"gone"_s) << u"File not found"_s;
        QTest::newRow("named pipe")
            << Lay([] { mkfifo(qPrintable(pic1), 0644); }) << u"it is a named pipe"_s;
        QTest::newRow("link to a device") << link(u"/dev/zero"_s) << u"it is a device"_s;
        QTest::newRow("socket") << Lay([] { // which cannot even be opened
            sockaddr_un address {.sun_family = AF_UNIX, .sun_path = "pix/pic1.jpg"};
            bind(socket(AF_UNIX, SOCK_STREAM, 0), reinterpret_cast<sockaddr *>(&address),
                 sizeof address);
        }) << u"it is a socket"_s;
#endif
    }

    void badFiles()
    {
        QFETCH(std::function<void()>, lay);
        QFETCH(QString, reason);
        QVERIFY(removeWhenLetGo(pic1));
        lay();
        // Read on a thread of its own, so that a reader that waits fails the test instead of
        // holding it, and on Unix as nobody, for whom permissions count (root reads anything).
#ifdef Q_OS_UNIX
        for (const QString &folder : {u"../.."_s, u".."_s, u"."_s, u"pix"_s})
            QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther);
        const bool root = geteuid() == 0;
        QVERIFY(!root || (setegid(65534) == 0 && seteuid(65534) == 0));
#endif
        const auto file = std::make_shared<PictureFile>();
        const std::unique_ptr<QThread> reading(QThread::create(
            [file] { *file = DiskPictureLoader().load(pic1, visible, PictureLoader::noLimit); }));
        reading->start();
        const bool done = reading->wait(5000);
#ifdef Q_OS_UNIX
        QVERIFY(!root || (seteuid(0) == 0 && setegid(0) == 0));
#endif
        QVERIFY2(done, "the loader was still waiting after 5 s");
        QVERIFY2(file->error.contains(reason) || file->complaint.contains(reason),
                 qPrintable(file->error + file->complaint));
        QCOMPARE(file->image.isNull(), !file->error.isEmpty());
    }

#ifdef Q_OS_WIN
    void heldFileShowsOnceLetGo()
    {
        // The built-in target stands in while the file is held, and the picture shows at the next
        // try once it is let go, though nothing in the file changed.
        TargetPictures pictures(m_loader, u":/assets/fallback-target.png"_s);
        pictures.setVisibleSize(visible);
        m_heldOpen = holdOpen(pic1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"pix.pic1\\.jpg"_s));
        QCOMPARE(pictures.picture(1)->image, QImage(u":/assets/fallback-target.png"_s));
        m_heldOpen.reset();
        QCOMPARE(pictures.picture(1)->size, QSize(82, 81));
    }
#endif

    void photosAreDecodedOnTheSide_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("progressive");
        QTest::newRow("4000 x 3000 JPEG") << QSize(4000, 3000) << false;
        QTest::newRow("6000 x 4000 progressive JPEG") << QSize(6000, 4000) << true;
    }

    void photosAreDecodedOnTheSide()
    {
        QFETCH(QSize, size);
        QFETCH(bool, progressive);
        QVERIFY(writePicture(pic1, striped(size), "jpeg", progressive));
        const QImage seen = QImage(pic1).copy(QRect({}, visible));
        ScriptedRandom random;
        const RecordingLoader loader;
        Game game(random, loader);
        game.setVisibleSize(visible);
        game.countPictures();

        // Until the photo is decoded its target is not seen, and a click there is no hit.
        random.push({forHole(1), forPicture(1, 5)});
        game.start();
        QVERIFY(game.hole(1).standing && !game.hole(1).shown());
        game.shootHole(1);
        QCOMPARE(game.hits(), std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(game.hole(1).shown(), 20000);
        QVERIFY(game.hole(1).size == size
                && game.hole(1).picture.convertToFormat(seen.format()) == seen);
        // Kept, it shows at once at the next jump, though drawn twice (to a higher hole).
        random.push({forHole(7), forPicture(1, 5), forPicture(1, 5)});
        game.tick();
        QVERIFY(game.hole(7).shown()
                && game.hole(7).picture.convertToFormat(seen.format()) == seen);
        // A file replaced shows its new content at the next jump that draws it.
        QFile::remove(pic1);
        QVERIFY(writePicture(pic1, striped({800, 800}, 0)));
        random.push({forHole(1), forPicture(1, 5)});
        game.tick();
        QTRY_VERIFY_WITH_TIMEOUT(game.hole(1).shown(), 20000);
        QCOMPARE(game.hole(1).size, QSize(800, 800));
        // Nothing was decoded on the game's thread, the small pictures ahead on the side either.
        QCOMPARE(loader.largest, 0);

        // The window grows: the target keeps its part on screen until the larger one is there,
        // decoded ahead of need, and the next jump shows that at once.
        const QSize larger(700, 600);
        game.setVisibleSize(larger);
        QVERIFY(game.hole(1).shown());
        QTRY_COMPARE_WITH_TIMEOUT(game.hole(1).picture.size(), larger, 20000);
        const QImage more = QImage(pic1).copy(QRect({}, larger));
        QCOMPARE(game.hole(1).picture.convertToFormat(more.format()), more);
        random.push({forHole(4), forPicture(1, 5), forPicture(1, 5)});
        game.tick();
        QCOMPARE(game.hole(4).picture.size(), larger);
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
