// Whatever the player puts in the pix folder: every kind of bad file is read by the real loader
// with Qt's real decoders without holding up the game, and photos of many megapixels are decoded
// on the side, only as far as they can be seen, and kept while their files stay as they are.
#include "testing.h"

#include "game.h"

#include <QBuffer>
#include <QFile>
#include <QThread>
#include <QtEndian>

#include <atomic>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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
        if (QThread::currentThread() == qApp->thread() && !file.overPixelLimit)
            largest = qMax(largest.load(), qint64(file.size.width()) * file.size.height());
        return file;
    }
    mutable std::atomic<qint64> largest = 0;
};
} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryCurrentDir> m_dir;
    // The ticks of a wave come only where a test makes them.
    const HeldTimers m_held {{u"tmr1"_s}};

private slots:
    void init()
    {
        m_dir.reset();
        m_dir = std::make_unique<TemporaryCurrentDir>();
        QDir().mkpath(u"pix"_s);
    }

    void badFiles_data()
    {
        using Lay = std::function<void()>;
        QTest::addColumn<Lay>("lay");
        QTest::addColumn<QString>("reason"); // empty where the picture shows
        const QImage picture = striped({400, 300});
        const auto bytes = [](const QByteArray &content) {
            return Lay([=] { writeFile(pic1, content); });
        };
        const auto link = [](const QString &to) {
            return Lay([=] { QFile::link(to, pic1); });
        };
        const QByteArray jpeg = encoded(picture, "jpeg");
        QTest::newRow("unreadable") << Lay([=] {
            writeFile(pic1, jpeg);
            QFile::setPermissions(pic1, {});
        }) << u"there is no permission to read it"_s;
        QTest::newRow("text") << bytes("not a picture\n") << u"Unsupported image format"_s;
        QTest::newRow("JPEG cut short")
            << bytes(jpeg.left(jpeg.size() * 2 / 3)) << u"Corrupt JPEG data"_s;
        QTest::newRow("PNG") << bytes(encoded(picture, "png")) << QString();
        QTest::newRow("30000 x 30000 header")
            << bytes(hugeJpegHeader()) << u"too large (30000 x 30000 pixels)"_s;
        QTest::newRow("folder") << Lay([] { QDir().mkpath(pic1); }) << u"it is a folder"_s;
        QTest::newRow("broken link") << link(u"gone"_s) << u"File not found"_s;
        QTest::newRow("named pipe")
            << Lay([] { mkfifo(qPrintable(pic1), 0644); }) << u"it is a named pipe"_s;
        QTest::newRow("link to a device") << link(u"/dev/zero"_s) << u"it is a device"_s;
        QTest::newRow("socket") << Lay([] { // which cannot even be opened
            sockaddr_un address {.sun_family = AF_UNIX, .sun_path = "pix/pic1.jpg"};
            bind(socket(AF_UNIX, SOCK_STREAM, 0), reinterpret_cast<sockaddr *>(&address),
                 sizeof address);
        }) << u"it is a socket"_s;
    }

    void badFiles()
    {
        QFETCH(std::function<void()>, lay);
        QFETCH(QString, reason);
        lay();
        // Read as nobody, for whom permissions count (root reads anything), on a thread of its
        // own, so that a reader that waits fails the test instead of holding it.
        for (const QString &folder : {u"."_s, u"pix"_s})
            QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther);
        const bool root = geteuid() == 0;
        QVERIFY(!root || (setegid(65534) == 0 && seteuid(65534) == 0));
        const auto file = std::make_shared<PictureFile>();
        const std::unique_ptr<QThread> reading(QThread::create(
            [file] { *file = DiskPictureLoader().load(pic1, visible, PictureLoader::noLimit); }));
        reading->start();
        const bool done = reading->wait(5000);
        QVERIFY(!root || (seteuid(0) == 0 && setegid(0) == 0));
        QVERIFY2(done, "the loader was still waiting after 5 s");
        QVERIFY2(file->error.contains(reason) || file->complaint.contains(reason),
                 qPrintable(file->error + file->complaint));
        QCOMPARE(file->image.isNull(), !file->error.isEmpty());
    }

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
        QVERIFY(writePicture(u"pix/pic0.jpg"_s, striped({81, 81})));
        QVERIFY(writePicture(pic1, striped(size), "jpeg", progressive));
        const QImage seen = QImage(pic1).copy(QRect({}, visible));
        ScriptedRandom random;
        const RecordingLoader loader;
        Game game(random, loader);
        game.setVisibleSize(visible);
        game.countPictures();

        // Until the photo is decoded its target is not seen, and a click there is no hit.
        random.push({forHole(1), forPicture(1, 2)});
        game.start();
        QVERIFY(game.hole(1).standing && !game.hole(1).shown());
        game.shootHole(1);
        QCOMPARE(game.hits(), std::nullopt);
        QTRY_VERIFY_WITH_TIMEOUT(game.hole(1).shown(), 20000);
        QCOMPARE(game.hole(1).size, size);
        QCOMPARE(game.hole(1).picture.convertToFormat(seen.format()), seen);
        // Kept, it shows at once at the next jump, though drawn twice (to a higher hole).
        random.push({forHole(7), forPicture(1, 2), forPicture(1, 2)});
        game.tick();
        QVERIFY(game.hole(7).shown());
        QCOMPARE(game.hole(7).picture.convertToFormat(seen.format()), seen);
        // A file replaced shows its new content at the next jump that draws it.
        QFile::remove(pic1);
        QVERIFY(writePicture(pic1, striped({800, 800}, 0)));
        random.push({forHole(1), forPicture(1, 2)});
        game.tick();
        QTRY_VERIFY_WITH_TIMEOUT(game.hole(1).shown(), 20000);
        QCOMPARE(game.hole(1).size, QSize(800, 800));
        // Nothing was decoded on the game's thread, the small picture ahead on the side either.
        QCOMPARE(loader.largest, 0);

        // The window grows: the target keeps its part on screen until the larger one is there,
        // decoded ahead of need, and the next jump shows that at once.
        const QSize larger(700, 600);
        game.setVisibleSize(larger);
        QVERIFY(game.hole(1).shown());
        QTRY_COMPARE_WITH_TIMEOUT(game.hole(1).picture.size(), larger, 20000);
        const QImage more = QImage(pic1).copy(QRect({}, larger));
        QCOMPARE(game.hole(1).picture.convertToFormat(more.format()), more);
        random.push({forHole(4), forPicture(1, 2), forPicture(1, 2)});
        game.tick();
        QCOMPARE(game.hole(4).picture.size(), larger);
    }
};

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
