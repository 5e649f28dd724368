// Whatever the player puts in the pix folder: every kind of bad file, each read by the real
// loader with Qt's real decoders, never holds up the game and at worst gives the built-in
// target with one warning; and photos of many megapixels are decoded on the side, only as far
// as they can be seen, and kept while their files stay as they are.
#include "support/testing.h"

#include "game.h"
#include "pictureset.h"
#include "targetpictures.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QThread>
#include <QtEndian>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString pic1 = u"pix/pic1.jpg"_s;
const QSize visible(337, 387);

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

// The loader's result for the file, or a failure when it is still waiting after five seconds.
PictureFile loadWithin5s(const QString &name)
{
    auto loading = std::make_shared<std::promise<PictureFile>>();
    std::future<PictureFile> result = loading->get_future();
    std::thread([loading, name] {
        loading->set_value(DiskPictureLoader().load(name, visible, PictureLoader::noLimit));
    }).detach();
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready)
        return {{}, {}, u"the loader was still waiting after 5 s"_s};
    return result.get();
}

// Records what the loader decodes on the calling thread, as the game's thread sees it.
class RecordingLoader final : public PictureLoader
{
public:
    PictureFile load(const QString &fileName, QSize part, qint64 mostPixels) const override
    {
        PictureFile file = m_disk.load(fileName, part, mostPixels);
        if (QThread::currentThread() == QCoreApplication::instance()->thread() && !file.deferred) {
            ++loadsOnGameThread;
            largestOnGameThread =
                qMax<qint64>(largestOnGameThread, qint64(file.size.width()) * file.size.height());
        }
        return file;
    }
    mutable std::atomic<int> loadsOnGameThread = 0;
    mutable std::atomic<qint64> largestOnGameThread = 0;

private:
    DiskPictureLoader m_disk;
};
} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryCurrentDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<TemporaryCurrentDir>();
        QDir().mkpath(u"pix"_s);
    }
    void cleanup() { m_dir.reset(); }

    void badFiles_data()
    {
        QTest::addColumn<std::function<void()>>("lay");
        QTest::addColumn<QString>("reason"); // empty where the picture shows
        const QImage picture = striped({400, 300});
        const auto bytes = [](const QByteArray &content) {
            return std::function<void()>([content] { writeFile(pic1, content); });
        };
        const QByteArray jpeg = encoded(picture, "jpeg");
        QTest::newRow("no file") << std::function<void()>([] {}) << u"File not found"_s;
        QTest::newRow("empty") << bytes({}) << u"Unsupported image format"_s;
        QTest::newRow("text") << bytes("not a picture\n") << u"Unsupported image format"_s;
        QTest::newRow("JPEG cut short")
            << bytes(jpeg.left(jpeg.size() * 2 / 3)) << u"Corrupt JPEG data"_s;
        QTest::newRow("PNG") << bytes(encoded(picture, "png")) << QString();
        QTest::newRow("GIF") << bytes(fileBytes(u":/assets/fireball.gif"_s)) << QString();
        QTest::newRow("progressive") << bytes(encoded(picture, "jpeg", true)) << QString();
        QTest::newRow("grey") << bytes(
            encoded(picture.convertToFormat(QImage::Format_Grayscale8), "jpeg"))
                              << QString();
        QTest::newRow("CMYK") << bytes(
            fileBytes(QStringLiteral(VARKOZ_SOURCE_DIR "/tests/data/cmyk.jpg")))
                              << QString();
        QTest::newRow("30000 x 30000 header")
            << bytes(hugeJpegHeader()) << u"too large (30000 x 30000 pixels)"_s;
        QTest::newRow("folder") << std::function<void()>([] { QDir().mkpath(pic1); })
                                << u"it is a folder"_s;
        QTest::newRow("broken link")
            << std::function<void()>([] { QFile::link(u"gone"_s, pic1); }) << u"File not found"_s;
        QTest::newRow("named pipe")
            << std::function<void()>([] { QCOMPARE(mkfifo(qPrintable(pic1), 0644), 0); })
            << u"it is a named pipe"_s;
        QTest::newRow("link to a device")
            << std::function<void()>([] { QFile::link(u"/dev/zero"_s, pic1); })
            << u"it is a device"_s;
        QTest::newRow("socket") << std::function<void()>([] {
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, qPrintable(pic1), sizeof address.sun_path);
            const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        }) << u"it is a socket"_s;
    }

    void badFiles()
    {
        QFETCH(std::function<void()>, lay);
        QFETCH(QString, reason);
        lay();
        const PictureFile file = loadWithin5s(pic1);
        QVERIFY2(file.error.contains(reason) || file.complaint.contains(reason),
                 qPrintable(file.error + file.complaint));
        QCOMPARE(file.image.isNull(), !file.error.isEmpty());

        // Drawn again and again in a wave, a file that cannot be shown is the built-in target, and
        // is named once.
        const WarningLog log;
        ScriptedRandom random;
        const DiskPictureLoader loader;
        TargetPictures pictures(loader, u":/assets/fallback-target.png"_s);
        for (int draw = 0; draw < 3; ++draw) {
            const std::optional<TargetPicture> shown = pictures.picture(1);
            QVERIFY(shown && !shown->image.isNull());
            if (file.image.isNull())
                QCOMPARE(shown->image, QImage(u":/assets/fallback-target.png"_s));
        }
        QCOMPARE(log.messages.size(), reason.isEmpty() ? 0 : 1);
    }

    void unreadableFile()
    {
        writePicture(pic1, striped({81, 81}));
        QFile::setPermissions(pic1, {});
        // Root reads anything: the file is read as nobody then, through folders nobody may enter.
        const bool root = geteuid() == 0;
        if (root) {
            QFile::setPermissions(u"."_s, QFile::permissions(u"."_s) | QFile::ExeOther);
            QVERIFY(seteuid(65534) == 0);
        }
        const PictureFile file = DiskPictureLoader().load(pic1, visible, PictureLoader::noLimit);
        if (root)
            QVERIFY(seteuid(0) == 0);
        QCOMPARE(file.error, u"there is no permission to read it"_s);
    }

    void damagedJpegsNeverCrash()
    {
        // Damaged copies of a baseline and a progressive JPEG; the sanitizer build watches them.
        const QImage picture = striped({96, 64});
        const QByteArray originals[] = {encoded(picture, "jpeg"), encoded(picture, "jpeg", true)};
        QRandomGenerator random(20261207);
        const DiskPictureLoader loader;
        const WarningLog log;
        for (int copy = 0; copy < 400; ++copy) {
            QByteArray bytes = originals[copy % 2];
            for (int flip = random.bounded(1, 9); flip > 0; --flip)
                bytes[random.bounded(bytes.size())] = char(random.bounded(256));
            writeFile(pic1, bytes.left(random.bounded(bytes.size() / 2, bytes.size() + 1)));
            const PictureFile file = loader.load(pic1, visible, PictureLoader::noLimit);
            QVERIFY(file.image.isNull() != file.error.isEmpty());
            QVERIFY(file.image.width() <= 96 && file.image.height() <= 64);
        }
    }

    void photosAreDecodedOnTheSide_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("progressive");
        QTest::newRow("4000 x 3000 JPEG") << QSize(4000, 3000) << "jpeg"_ba << false;
        QTest::newRow("4000 x 3000 progressive JPEG") << QSize(4000, 3000) << "jpeg"_ba << true;
        QTest::newRow("4000 x 3000 PNG") << QSize(4000, 3000) << "png"_ba << false;
        QTest::newRow("4000 x 3000 GIF") << QSize(4000, 3000) << "gif"_ba << false;
        QTest::newRow("6000 x 4000 progressive JPEG") << QSize(6000, 4000) << "jpeg"_ba << true;
    }

    void photosAreDecodedOnTheSide()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, format);
        QFETCH(bool, progressive);
        if (format == "gif")
            QFile::copy(QStringLiteral(VARKOZ_SOURCE_DIR "/tests/data/photo.gif"), pic1);
        else
            QVERIFY(writePicture(pic1, striped(size), format, progressive));
        const QImage seen = QImage(pic1).copy(QRect({}, visible));

        const RecordingLoader loader;
        TargetPictures pictures(loader, u":/assets/fallback-target.png"_s);
        pictures.setVisibleSize(visible);
        QSignalSpy ready(&pictures, &TargetPictures::ready);
        // The game's thread reads the header only, and the picture comes later.
        QCOMPARE(pictures.picture(1), std::nullopt);
        QCOMPARE(loader.loadsOnGameThread, 0);
        QVERIFY(ready.wait(20000));
        const auto arrived = ready.first().at(1).value<TargetPicture>();
        QCOMPARE(arrived.size, size);
        QCOMPARE(arrived.image.convertToFormat(seen.format()), seen);

        // Drawn again, the kept picture shows at once, without reading the file.
        std::optional<TargetPicture> again = pictures.picture(1);
        QVERIFY(again);
        QCOMPARE(again->image.cacheKey(), arrived.image.cacheKey());

        // A file replaced shows its new content at the next draw.
        QFile::remove(pic1);
        QVERIFY(writePicture(pic1, striped({800, 800}, 0), "jpeg"));
        again = pictures.picture(1);
        QVERIFY(!again);
        QVERIFY(ready.wait(20000));
        QCOMPARE(ready.last().at(1).value<TargetPicture>().size, QSize(800, 800));
        QCOMPARE(loader.largestOnGameThread, 0);
    }

    void aWaveOfPhotosNeverHoldsUpTheGame()
    {
        QVERIFY(writePicture(u"pix/pic0.jpg"_s, striped({81, 81})));
        QVERIFY(writePicture(pic1, striped({4000, 3000}), "jpeg", true));
        ScriptedRandom random;
        const RecordingLoader loader;
        Game game(random, loader);
        game.setVisibleSize(visible);
        game.countPictures();
        // Each tick draws the photo, twice when the target moves to a higher hole.
        random.push({forHole(1), forPicture(1, 2)});
        game.start();
        for (int tick = 1; tick <= 6; ++tick) {
            const int hole = tick % 2 ? 7 : 1;
            random.push({forHole(hole), forPicture(1, 2)});
            if (hole == 7)
                random.push({forPicture(1, 2)});
            game.tick();
            QTRY_VERIFY_WITH_TIMEOUT(game.hole(hole).shown(), 20000);
            QCOMPARE(game.hole(hole).size, QSize(4000, 3000));
            QCOMPARE(game.hole(hole).picture.size(), visible);
        }
        // Only the small picture, counted ahead of the wave, was ever decoded on the game's thread.
        QVERIFY(loader.largestOnGameThread <= TargetPictures::mostPixelsAtOnce);
    }
};

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
