// Whatever the player puts in the pix folder, read by the real reader with Qt's real decoders:
// every kind of bad file without holding anything up, headers that lie, photos of many
// megapixels read ahead on the side as far as they can be seen, turned upright and into sRGB,
// kept while their files stay as they are, and read again once when the window's size settles.
#include "testing.h"

#include "picturefolder.h"

#include <QColorSpace>
#include <QImageReader>
#include <QSignalSpy>
#include <QThread>
#include <QtEndian>

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
const QSize visible(300, 360);
QImage fallback()
{
    return QImage(u":/assets/fallback-target.png"_s);
}

// The JPEG with an Exif orientation (1 to 8) after its start, as cameras write it.
QByteArray withOrientation(QByteArray jpeg, quint16 orientation)
{
    QByteArray exif = QByteArray("\xff\xe1\x00\x22"
                                 "Exif\0\0"
                                 "MM\x00\x2a\x00\x00\x00\x08"
                                 "\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x00\x00\x00"
                                 "\x00\x00\x00\x00",
                                 36);
    qToBigEndian(orientation, exif.data() + 28);
    return jpeg.insert(2, exif);
}

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

class TestPictures : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::shared_ptr<void> m_heldOpen; // a target file held open by a bad-file row
    const std::atomic_bool m_going = false;

    // A folder counted and read ahead, with a spy on what it hands over.
    struct Folder
    {
        PictureFolder pictures;
        QSignalSpy ready {&pictures, &TargetPictures::ready};
        Folder()
        {
            pictures.setVisibleSize(visible);
            pictures.count();
        }
        // How often the picture was read, once all that was asked for is done.
        qsizetype reads(qint16 number)
        {
            if (!QTest::qWaitFor([this] { return !pictures.isReading(); }, 120000))
                return -1;
            return std::count_if(ready.cbegin(), ready.cend(),
                                 [number](const QList<QVariant> &args) {
                                     return args.first().value<qint16>() == number;
                                 });
        }
    };

private slots:
    void initTestCase() { PictureReading::collectDecoderMessages(); }

    void init()
    {
        m_heldOpen.reset();
        m_dir.reset();
        m_dir = std::make_unique<TemporaryCurrentDir>();
        writeTargets({0, 1, 2, 3, 4});
    }

    void namesAreCountedOnce()
    {
        // A gap counts what is there; names past 20 and folders are not counted.
        QVERIFY(removeWhenLetGo(u"pix/pic0.jpg"_s));
        writeTargets({20, 21});
        QDir().mkpath(u"pix/pic9.jpg"_s);
        QCOMPARE(PictureFolder().count(), 5);
        QVERIFY(removeWhenLetGo(u"pix"_s));
        QCOMPARE(PictureFolder().count(), 0);
    }

    void aNameWithoutAFileShowsTheFallbackAtOnce()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"pix.pic1\\.jpg.*File not found"_s));
        QTest::failOnWarning(QRegularExpression(u"."_s));
        Folder folder;
        QVERIFY(removeWhenLetGo(pic1));
        for (const qint16 number : {1, 1, -1}) {
            if (number == -1) // drawn when no picture is counted
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"pic-1\\.jpg"_s));
            QCOMPARE(folder.pictures.picture(number)->image, fallback());
        }
    }

    void badFiles_data()
    {
        using Lay = std::function<void()>;
        QTest::addColumn<Lay>("lay");
        QTest::addColumn<QString>("reason"); // empty where the picture shows without a word
        const QImage picture = striped({400, 300});
        const auto bytes = [](const QByteArray &content) {
            return Lay([=] { QVERIFY(writeBytes(pic1, content)); });
        };
        const QByteArray jpeg = encoded(picture, "jpeg");
        QTest::newRow("text") << bytes("not a picture\n") << u"Unsupported image format"_s;
        QTest::newRow("JPEG cut short")
            << bytes(jpeg.left(jpeg.size() * 2 / 3)) << u"Corrupt JPEG data"_s;
        QTest::newRow("PNG") << bytes(encoded(picture, "png")) << QString();
        QTest::newRow("JPEG segment of length 0")
            << bytes("\xff\xd8\xff\xe0\x00\x00\xff\xd9"_ba) << u"Unable to read image data"_s;
        // Of a photo of any size, only what can be seen is decoded, and so little is allocated.
        QTest::newRow("900 MP JPEG header")
            << bytes(claimingJpeg({30000, 30000}, false)) << u"premature end"_s;
        // A progressive one is held whole while it is decoded: 192 MiB of coefficients.
        QTest::newRow("progressive 5792 x 5792 header")
            << bytes(claimingJpeg({5792, 5792}, true, 0x11))
            << u"decoding it would take 194 MiB, more than the 128 MiB a picture may"_s;
#ifndef Q_OS_WIN // whose release brings no SVG reader
        // Read by its content where Qt's SVG reader is installed, as on many desktops.
        QTest::newRow("2000000000 x 2000000000 SVG")
            << bytes(R"(<svg xmlns="http://www.w3.org/2000/svg" width="2000000000" )"
                     R"(height="2000000000"/>)")
            << u"claims 2000000000 x 2000000000 pixels"_s;
#endif
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
        QTest::failOnWarning(QRegularExpression(u"."_s)); // what the decoders say is collected
        if (QByteArray(QTest::currentDataTag()).contains("SVG")
            && !QImageReader::supportedImageFormats().contains("svg")) {
            if (qEnvironmentVariableIsSet("VARKOZ_NO_SKIPS"))
                QFAIL("Qt's SVG reader is not installed (Debian package libqt6svg6)");
            QSKIP("Qt's SVG reader is not installed (Debian package libqt6svg6)");
        }
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
            [file, this] { *file = PictureReading::read(pic1, visible, m_going); }));
        reading->start();
        const bool done = reading->wait(20000);
#ifdef Q_OS_UNIX
        QVERIFY(!root || (seteuid(0) == 0 && setegid(0) == 0));
#endif
        QVERIFY2(done, "the reader was still waiting after 20 s");
        QVERIFY2(file->error.contains(reason) || file->complaint.contains(reason),
                 qPrintable(file->error + file->complaint));
        QCOMPARE(file->image.isNull(), !file->error.isEmpty());
        QVERIFY(file->image.isNull() || file->image.size() == file->size.boundedTo(visible));
    }

#ifdef Q_OS_WIN
    void heldFileShowsOnceLetGo()
    {
        // The built-in target stands in while the file is held, and the picture shows at the next
        // try once it is let go, though nothing in the file changed.
        m_heldOpen = holdOpen(pic1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"pix.pic1\\.jpg"_s));
        Folder folder;
        QTRY_COMPARE(folder.pictures.picture(1).value_or(TargetPicture {}).image, fallback());
        m_heldOpen.reset();
        QTRY_COMPARE(folder.pictures.picture(1).value_or(TargetPicture {}).size, QSize(82, 81));
    }
#endif

    void turnedPhotosShowUpright()
    {
        // As photo viewers show them, all eight ways a camera may have been held; the part seen
        // is the one at the upright picture's top-left corner, and the hole takes its size.
        const QSize stored(240, 160), part(100, 70);
        for (quint16 orientation = 1; orientation <= 8; ++orientation) {
            QVERIFY(
                writeBytes(pic1, withOrientation(encoded(striped(stored), "jpeg"), orientation)));
            QImageReader whole(pic1);
            whole.setAutoTransform(true);
            const PictureFile file = PictureReading::read(pic1, part, m_going);
            QCOMPARE(file.size, orientation >= 5 ? stored.transposed() : stored);
            QCOMPARE(file.image, whole.read().copy(QRect({}, part)));
        }
    }

    void colourProfilesAreConvertedToSrgb()
    {
        QImage wide = striped({200, 100});
        wide.setColorSpace(QColorSpace::DisplayP3);
        QVERIFY(writePicture(pic1, wide));
        const PictureFile file = PictureReading::read(pic1, {120, 100}, m_going);
        const QImage expected = QImage(pic1).convertedToColorSpace(QColorSpace::SRgb);
        QCOMPARE(file.image.colorSpace(), QColorSpace(QColorSpace::SRgb));
        QCOMPARE(file.image, expected.copy(0, 0, 120, 100).convertToFormat(QImage::Format_RGB32));
    }

    void photosAreReadAheadAndKept_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("progressive");
        QTest::newRow("JPEG") << QSize(1600, 1200) << false;
        QTest::newRow("progressive JPEG") << QSize(1600, 1200) << true;
    }

    void photosAreReadAheadAndKept()
    {
        QFETCH(QSize, size);
        QFETCH(bool, progressive);
        QVERIFY(writePicture(pic1, striped(size), "jpeg", progressive));
        const QImage photo(pic1);

        // Read ahead once, as far as it can be seen, it shows at once whenever it is drawn.
        Folder folder;
        QCOMPARE(folder.reads(1), 1);
        const std::optional<TargetPicture> target = folder.pictures.picture(1);
        QVERIFY(target && target->size == size);
        QCOMPARE(target->image, photo.copy(QRect({}, visible)));

        // A window dragged larger step by step reads it once more, for the size it settles at;
        // until then it shows the part it has.
        folder.ready.clear();
        for (int step = 1; step <= 30; ++step) {
            folder.pictures.setVisibleSize(visible + QSize(20 * step, 10 * step));
            QCOMPARE(folder.pictures.picture(1)->image.size(), visible);
        }
        QCOMPARE(folder.reads(1), 1);
        QCOMPARE(folder.pictures.picture(1)->image, photo.copy(0, 0, 900, 660));

        // A file replaced is never shown with its old content: it is read first of all, and
        // shows when read.
        folder.ready.clear();
        QVERIFY(removeWhenLetGo(pic1));
        QVERIFY(writePicture(pic1, striped({800, 800}, 0)));
        QVERIFY(!folder.pictures.picture(1));
        QCOMPARE(folder.reads(1), 1);
        QCOMPARE(folder.pictures.picture(1)->size, QSize(800, 800));
    }
};

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
