// The target pictures: their names, the count taken when the main window loads, the loader that
// reads them from disk, and the fallback target with its one warning per file.
#include "pictureset.h"
#include "targetpictures.h"

#include "support/pictures.h"
#include "support/warnings.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPictureSet : public QObject
{
    Q_OBJECT

private slots:
    void fileNames_data();
    void fileNames();
    void countsWhatExists_data();
    void countsWhatExists();
    void countsRelativeToTheCurrentDirectory();

    void loaderReadsTheFileEveryTime();
    void fallbackStandsInForUnloadablePicture();
    void fallbackWarnsOncePerFile();
};

void TestPictureSet::fileNames_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << u"pix/pic0.jpg"_s;
    QTest::newRow("12") << 12 << u"pix/pic12.jpg"_s;
    QTest::newRow("20") << 20 << u"pix/pic20.jpg"_s;
    QTest::newRow("-1, from no pictures at all") << -1 << u"pix/pic-1.jpg"_s;
}

void TestPictureSet::fileNames()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    QCOMPARE(PictureSet::fileName(number), QDir::toNativeSeparators(name));
}

void TestPictureSet::countsWhatExists_data()
{
    QTest::addColumn<QList<int>>("present");
    QTest::addColumn<int>("count");
    QList<int> all;
    for (int i = 0; i <= 20; ++i)
        all.append(i);
    QTest::newRow("none") << QList<int> {} << 0;
    QTest::newRow("0 to 7") << QList<int> {0, 1, 2, 3, 4, 5, 6, 7} << 8;
    QTest::newRow("1 to 8, no 0") << QList<int> {1, 2, 3, 4, 5, 6, 7, 8} << 8;
    QTest::newRow("0 to 20") << all << 21;
    QTest::newRow("0 to 24: only 0 to 20 looked at") << (all + QList<int> {21, 22, 23, 24}) << 21;
    QTest::newRow("gaps") << QList<int> {0, 5, 20} << 3;
}

void TestPictureSet::countsWhatExists()
{
    QFETCH(QList<int>, present);
    QFETCH(int, count);
    const TemporaryCurrentDir dir;
    QDir().mkdir(u"pix"_s);
    for (const int number : present) {
        QFile file(dir.filePath(u"pix/pic%1.jpg"_s.arg(number)));
        QVERIFY(file.open(QIODevice::WriteOnly)); // any file counts, picture or not
    }
    QCOMPARE(PictureSet::count(DiskFileLookup()), count);
}

void TestPictureSet::countsRelativeToTheCurrentDirectory()
{
    const TemporaryCurrentDir dir;
    writeTargetPictures({0, 1, 2});
    QCOMPARE(PictureSet::count(DiskFileLookup()), 3);
    QDir::setCurrent(QDir::tempPath());
    QVERIFY(!QFileInfo::exists(u"pix/pic0.jpg"_s));
    QCOMPARE(PictureSet::count(DiskFileLookup()), 0);
}

void TestPictureSet::loaderReadsTheFileEveryTime()
{
    const TemporaryCurrentDir dir;
    QVERIFY(writeJpeg(u"pix/pic0.jpg"_s, {81, 81}, Qt::red));
    DiskPictureLoader loader;
    const PictureFile first = loader.load(PictureSet::fileName(0));
    QVERIFY(first.error.isEmpty());
    QCOMPARE(first.image.size(), QSize(81, 81));

    // The same name, another picture: nothing may come from a cache.
    QVERIFY(writeJpeg(u"pix/pic0.jpg"_s, {40, 30}, Qt::blue));
    const PictureFile second = loader.load(PictureSet::fileName(0));
    QCOMPARE(second.image.size(), QSize(40, 30));
    QVERIFY(QFile::remove(u"pix/pic0.jpg"_s));
    QVERIFY(loader.load(PictureSet::fileName(0)).image.isNull());
}

void TestPictureSet::fallbackStandsInForUnloadablePicture()
{
    const TemporaryCurrentDir dir;
    QImage fallback(81, 81, QImage::Format_RGB32);
    fallback.fill(Qt::magenta);
    QVERIFY(fallback.save(u"fallback.png"_s));
    DiskPictureLoader loader;
    TargetPictures pictures(loader, dir.filePath(u"fallback.png"_s));
    // Read when first needed: a fallback that changes before any picture fails is the new one.
    fallback.fill(Qt::cyan);
    QVERIFY(fallback.save(u"fallback.png"_s));
    const WarningLog warnings;
    QCOMPARE(pictures.picture(4), fallback);
    QCOMPARE(pictures.picture(5), fallback);
}

void TestPictureSet::fallbackWarnsOncePerFile()
{
    const TemporaryCurrentDir dir;
    QVERIFY(QDir().mkdir(u"pix"_s));
    QFile garbage(u"pix/pic1.jpg"_s);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("this is no picture");
    garbage.close();
    QVERIFY(writeJpeg(u"pix/pic2.jpg"_s));

    DiskPictureLoader loader;
    TargetPictures pictures(loader, dir.filePath(u"no-fallback-here.png"_s));
    const WarningLog warnings;
    for (int round = 0; round < 3; ++round) {
        pictures.picture(0);
        pictures.picture(1);
        pictures.picture(-1);
        QCOMPARE(pictures.picture(2).size(), QSize(81, 81)); // a good picture: no warning
    }

    QCOMPARE(warnings.messages().size(), 3);
    const QHash<QString, int> perFile = warnings.countsPerFile();
    for (const QString &name : {u"pix/pic0.jpg"_s, u"pix/pic1.jpg"_s, u"pix/pic-1.jpg"_s})
        QCOMPARE(perFile.value(name), 1);
}

QTEST_GUILESS_MAIN(TestPictureSet)
#include "tst_pictureset.moc"
