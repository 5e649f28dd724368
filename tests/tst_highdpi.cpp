// The main window on a high-density screen. CTest runs this under QT_SCALE_FACTOR=2 and 1.5:
// positions are logical pixels, so the layout, the hit-testing and the miss marker stay those
// of a 96 dpi screen, and the pictures and pointers are drawn whole at the screen's density.
#include "support/definition.h"
#include "support/range.h"
#include "support/testmain.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMenuBar>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The factor the test was started with; 0 when none was given.
qreal requestedScaleFactor()
{
    return qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
}

// The device pixel of a grab that lies under the middle of a logical pixel.
QPoint devicePixel(QPoint logical, qreal ratio)
{
    return {static_cast<int>(std::floor((logical.x() + 0.5) * ratio)),
            static_cast<int>(std::floor((logical.y() + 0.5) * ratio))};
}

// What a grab shows of a logical square: one pixel for each logical pixel, taken at its middle.
QImage logicalPixels(const QImage &grab, QRect square)
{
    QImage pixels(square.size(), QImage::Format_RGB32);
    for (int y = 0; y < square.height(); ++y)
        for (int x = 0; x < square.width(); ++x)
            pixels.setPixel(
                x, y,
                grab.pixel(devicePixel(square.topLeft() + QPoint(x, y), grab.devicePixelRatio())));
    return pixels;
}

// The pixels where two pictures of the same size differ, for the failure message.
int differingPixels(const QImage &shown, const QImage &picture)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (shown.pixel(x, y) != picture.pixel(x, y))
                ++count;
    return count;
}

QImage decodeCursorFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QBuffer buffer;
    buffer.setData(file.readAll());
    return QImageReader(&buffer, "cur").read().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void runsAtTheScaleFactor();
    void clientAreaIsUnchanged();
    void controlsStayInPlace_data();
    void controlsStayInPlace();
    void pressesLandOnHolesAndGaps_data();
    void pressesLandOnHolesAndGaps();
    void markerLandsWherePressed_data();
    void markerLandsWherePressed();
    void picturesFillTheirHoles();
    void pointersKeepTheirSizeAndHotSpot_data();
    void pointersKeepTheirSizeAndHotSpot();

private:
    // Starts a wave with its target, pix/pic0.jpg, in this hole.
    Range &waveWithTargetIn(int hole);
    // The window as drawn at its device pixel ratio.
    QImage grabWindow() const;
    // A control's rectangle in the window's own coordinates, where a grab has it.
    QRect inWindow(const QWidget &control) const;

    qreal m_factor = 0;
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Range> m_range;
};

void TestHighDpi::initTestCase()
{
    m_factor = requestedScaleFactor();
    QVERIFY2(m_factor > 1, "run with QT_SCALE_FACTOR set to the factor under test, such as 2");
}

void TestHighDpi::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0});
    m_range = std::make_unique<Range>();
}

void TestHighDpi::cleanup()
{
    m_range.reset();
    m_dir.reset();
}

Range &TestHighDpi::waveWithTargetIn(int hole)
{
    m_range->random.push({drawForHole(hole), 0.0f});
    m_range->window->Start();
    return *m_range;
}

QImage TestHighDpi::grabWindow() const
{
    return m_range->window->grab().toImage();
}

QRect TestHighDpi::inWindow(const QWidget &control) const
{
    return {control.mapTo(m_range->window.get(), QPoint(0, 0)), control.size()};
}

void TestHighDpi::runsAtTheScaleFactor()
{
    FrmMain &window = *m_range->window;
    QVERIFY(window.windowHandle());
    QCOMPARE(window.devicePixelRatio(), m_factor);
    QCOMPARE(window.windowHandle()->devicePixelRatio(), m_factor);
    const QImage grab = grabWindow();
    QCOMPARE(grab.devicePixelRatio(), m_factor);
    QCOMPARE(grab.width(), qRound(window.width() * m_factor));
}

void TestHighDpi::clientAreaIsUnchanged()
{
    FrmMain &window = *m_range->window;
    QCOMPARE(window.centralWidget()->size(), FrmMain::clientArea);
    QCOMPARE(window.centralWidget()->size(), QSize(337, 387));
    QCOMPARE(window.centralWidget()->y(), window.menuBar()->geometry().bottom() + 1);
    QCOMPARE(window.size(), FrmMain::clientArea + QSize(0, window.menuBar()->height()));
    QCOMPARE(window.windowHandle()->size(), window.size());
}

void TestHighDpi::controlsStayInPlace_data()
{
    addMainWindowControlRows();
}

void TestHighDpi::controlsStayInPlace()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    const QWidget *control = m_range->control(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
}

void TestHighDpi::pressesLandOnHolesAndGaps_data()
{
    QTest::addColumn<int>("hole");
    QTest::addColumn<QPoint>("offset"); // from the hole's top-left corner, logical pixels
    QTest::addColumn<bool>("hit");
    const QList<std::pair<const char *, QPoint>> inside {{"middle", {40, 40}},
                                                         {"top-left pixel", {0, 0}},
                                                         {"top-right pixel", {80, 0}},
                                                         {"bottom-left pixel", {0, 80}},
                                                         {"bottom-right pixel", {80, 80}}};
    const QList<std::pair<const char *, QPoint>> outside {{"left of it", {-1, 40}},
                                                          {"right of it", {81, 40}},
                                                          {"above it", {40, -1}},
                                                          {"below it", {40, 81}}};
    for (const int hole : {1, 4, 8}) {
        for (const auto &[where, offset] : inside)
            QTest::addRow("hole %d, %s", hole, where) << hole << offset << true;
        for (const auto &[where, offset] : outside)
            QTest::addRow("hole %d, %s", hole, where) << hole << offset << false;
    }
}

void TestHighDpi::pressesLandOnHolesAndGaps()
{
    QFETCH(int, hole);
    QFETCH(QPoint, offset);
    QFETCH(bool, hit);
    Range &range = waveWithTargetIn(hole);
    QCOMPARE(range.visibleHoles(), QList<int> {hole});
    range.clickClient(range.hole(hole)->pos() + offset);
    QCOMPARE(range.hits(), hit ? u"1"_s : u""_s);
    QCOMPARE(range.misses(), hit ? u""_s : u"1"_s);
}

void TestHighDpi::markerLandsWherePressed_data()
{
    QTest::addColumn<QPoint>("client");
    QTest::newRow("gap between holes 0 and 1") << QPoint(px(1920) - 3, px(360) + 40);
    QTest::newRow("gap below hole 4") << QPoint(px(1920) + 40, px(1680) + 84);
    QTest::newRow("hidden hole 5") << Range::holeCentre(5);
    // With its top edge at the client area's top edge.
    QTest::newRow("top of the field") << QPoint(px(480) + 20, 15);
    QTest::newRow("near the bottom-right corner") << QPoint(px(4575) - 2, px(4335) - 2);
}

void TestHighDpi::markerLandsWherePressed()
{
    QFETCH(QPoint, client);
    Range &range = waveWithTargetIn(7);
    QCOMPARE(range.visibleHoles(), QList<int> {7});
    range.clickClient(client);
    QCOMPARE(range.misses(), u"1"_s);
    const PictureBox &marker = *range.marker();
    QVERIFY(marker.isVisible());
    QCOMPARE(marker.size(), QSize(31, 31));
    const QPoint centre = marker.geometry().center();
    QVERIFY2(qAbs(centre.x() - client.x()) <= 1 && qAbs(centre.y() - client.y()) <= 1,
             qPrintable(u"marker centre %1,%2 for a press at %3,%4"_s.arg(centre.x())
                            .arg(centre.y())
                            .arg(client.x())
                            .arg(client.y())));

    // On the screen the whole bullet hole shows, its middle under the pressed point.
    const QImage bulletHole =
        QImage(u":/assets/bullethole.bmp"_s).convertToFormat(QImage::Format_RGB32);
    const QImage grab = grabWindow();
    const QImage shown = logicalPixels(grab, inWindow(marker));
    QVERIFY2(shown == bulletHole,
             qPrintable(
                 u"%1 pixels of the bullet hole differ"_s.arg(differingPixels(shown, bulletHole))));
    QCOMPARE(grab.pixel(devicePixel(range.windowPoint(client), grab.devicePixelRatio())),
             bulletHole.pixel(15, 15));
}

void TestHighDpi::picturesFillTheirHoles()
{
    Range &range = waveWithTargetIn(4);
    QCOMPARE(range.visibleHoles(), QList<int> {4});
    const PictureBox &hole = *range.hole(4);
    QCOMPARE(hole.size(), QSize(81, 81));

    const QImage target = QImage(u"pix/pic0.jpg"_s).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(target.size(), QSize(81, 81));
    QImage shown = logicalPixels(grabWindow(), inWindow(hole));
    QVERIFY2(shown == target,
             qPrintable(u"%1 pixels of the target differ"_s.arg(differingPixels(shown, target))));

    range.clickClient(Range::holeCentre(4));
    QCOMPARE(range.hits(), u"1"_s);
    const QImage fireball =
        QImage(u":/assets/fireball.gif"_s).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(fireball.size(), QSize(81, 81));
    shown = logicalPixels(grabWindow(), inWindow(hole));
    QVERIFY2(
        shown == fireball,
        qPrintable(u"%1 pixels of the fireball differ"_s.arg(differingPixels(shown, fireball))));
}

void TestHighDpi::pointersKeepTheirSizeAndHotSpot_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPoint>("hotSpot");
    for (int index = 0; index < 9; ++index)
        QTest::addRow("gun-sight over hole %d", index)
            << u"picHole_%1"_s.arg(index) << u":/assets/gunsight.cur"_s << QPoint(15, 15);
    QTest::newRow("cross-hair over the field")
        << u"fraField"_s << u":/assets/crosshair.cur"_s << QPoint(14, 15);
}

void TestHighDpi::pointersKeepTheirSizeAndHotSpot()
{
    QFETCH(QString, control);
    QFETCH(QString, file);
    QFETCH(QPoint, hotSpot);
    const QCursor cursor = m_range->control(control)->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), hotSpot);
    if (cursor.pixmap().isNull() && !cursor.bitmap().isNull())
        QSKIP("this platform keeps the pointer as a bitmap that inverts the screen");
    const QPixmap pixmap = cursor.pixmap();
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(32, 32));

    // Every pixel the cursor file draws is there, at its logical place. (Its screen-inverting
    // pixels, which Qt's reader leaves clear, may be drawn too.)
    const QImage picture = decodeCursorFile(file);
    QCOMPARE(picture.size(), QSize(32, 32));
    QImage drawn = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    drawn.setDevicePixelRatio(pixmap.devicePixelRatio());
    int inked = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb want = picture.pixel(x, y);
            if (qAlpha(want) == 0)
                continue;
            ++inked;
            const QRgb got = drawn.pixel(devicePixel({x, y}, drawn.devicePixelRatio()));
            QVERIFY2(got == want, qPrintable(u"pixel %1,%2"_s.arg(x).arg(y)));
        }
    }
    QVERIFY(inked > 0);
}

VARKOZ_TEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
