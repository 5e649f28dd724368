// The main window as it is loaded: every control's place, look and initial state, the z-order,
// the focus order, the menus, the pointers, resizing, and pictures drawn whole. CTest runs it at
// the screen scales 1, 2 and 1.5: positions are logical pixels, so nothing may move.
#include "support/definition.h"
#include "support/range.h"
#include "support/testmain.h"

#include "captionframe.h"
#include "cursorfile.h"
#include "systemcolours.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {
// What a grab at any device pixel ratio shows of a logical square, one pixel a logical pixel.
QImage logicalPixels(const QImage &grab, QRect square)
{
    const qreal ratio = grab.devicePixelRatio();
    QImage pixels(square.size(), QImage::Format_RGB32);
    for (int y = 0; y < square.height(); ++y) {
        for (int x = 0; x < square.width(); ++x) {
            const QPoint logical = square.topLeft() + QPoint(x, y);
            pixels.setPixel(x, y,
                            grab.pixel(int(std::floor((logical.x() + 0.5) * ratio)),
                                       int(std::floor((logical.y() + 0.5) * ratio))));
        }
    }
    return pixels;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void controlGeometry_data();
    void controlGeometry();
    void captionsAndFonts_data();
    void captionsAndFonts();
    void initialState();
    void zOrder();
    void focusStartsOnExitAndFollowsTabOrder();
    void menus();
    void pointers();
    void colours();
    void picturesAreDrawnWhole();
    void resizingMovesNothing();
    void labelsAndBackgroundReactToNothing();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Range> m_range;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0});
    m_range = std::make_unique<Range>();
}

void TestMainWindow::cleanup()
{
    m_range.reset();
    m_dir.reset();
}

void TestMainWindow::window()
{
    FrmMain &window = *m_range->window;
    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    if (scale > 0)
        QCOMPARE(window.devicePixelRatio(), scale);
    QCOMPARE(window.windowTitle(), u"    --= VARKOZ 1.0 beta =--"_s);
    QCOMPARE(window.centralWidget()->size(), QSize(px(5055), px(5805)));
    QCOMPARE(window.centralWidget()->y(), window.menuBar()->geometry().bottom() + 1);
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        QVERIFY(window.windowIcon().availableSizes().contains(size));
    QVERIFY(window.minimumSize() != window.maximumSize());
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY(qAbs(window.frameGeometry().center().x() - screen.center().x()) <= 4);
    QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 40);
}

void TestMainWindow::controlGeometry_data()
{
    addMainWindowControlRows();
}

void TestMainWindow::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    const QWidget *control = m_range->control(name);
    QVERIFY(control);
    // The holes and the marker too are the window's controls, not the field's: a disabled
    // field must not disable them.
    QCOMPARE(control->parentWidget(), m_range->window->centralWidget());
    QCOMPARE(control->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
}

void TestMainWindow::captionsAndFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("alignment");
    const int right = Qt::AlignRight;
    const int left = Qt::AlignLeft;
    QTest::newRow("Label1") << u"Label1"_s << u"Hits:"_s << u"Arial"_s << false << right;
    QTest::newRow("Label2") << u"Label2"_s << u"Misses:"_s << u"Arial"_s << false << right;
    QTest::newRow("Label3") << u"Label3"_s << u"Precision:"_s << u"Arial"_s << false << right;
    QTest::newRow("lblOut") << u"lblOut"_s << u""_s << u"Arial"_s << false << left;
    QTest::newRow("lblMiss") << u"lblMiss"_s << u""_s << u"Arial"_s << false << left;
    QTest::newRow("lblTotal") << u"lblTotal"_s << u""_s << u"Arial"_s << false << left;
    QTest::newRow("fraField") << u"fraField"_s << u"The Varkoz"_s << u"MS Sans Serif"_s << true
                              << 0;
}

void TestMainWindow::captionsAndFonts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(bool, italic);
    QFETCH(int, alignment);
    QWidget *control = m_range->control(name);
    control->ensurePolished();
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
    } else {
        QCOMPARE(static_cast<CaptionFrame *>(control)->title(), text);
    }
    QCOMPARE(control->font().family(), family);
    QCOMPARE(control->font().pointSizeF(), 9.75);
    QVERIFY(control->font().bold());
    QCOMPARE(control->font().italic(), italic);
}

void TestMainWindow::initialState()
{
    const Range &range = *m_range;
    QVERIFY(range.visibleHoles().isEmpty());
    QVERIFY(range.marker()->isHidden());
    QVERIFY(range.hitPicture()->isHidden());
    QVERIFY(!range.timer()->isActive());
    QCOMPARE(range.timer()->interval(), 600);
    QVERIFY(!range.field()->isEnabled());
    QCOMPARE(range.control<QPushButton>(u"cmdStart"_s)->text(), u"&Start"_s);
    QCOMPARE(range.control<QPushButton>(u"cmdExit"_s)->text(), u"E&xit"_s);
    QVERIFY(!range.control<QLabel>(u"Label4"_s)->text().isEmpty());
    QCOMPARE(range.hitPicture()->picture().size(), QSize(81, 81));
    QCOMPARE(range.marker()->size(), QSize(31, 31));
}

void TestMainWindow::zOrder()
{
    // From the bottom up: the labels on the window's surface, the field, the holes 0 to 8, the
    // buttons, the miss marker, the hit picture.
    QStringList bottomUp {u"lblOut"_s, u"lblMiss"_s, u"lblTotal"_s, u"Label1"_s,
                          u"Label2"_s, u"Label3"_s,  u"Label4"_s,   u"fraField"_s};
    for (int index = 0; index < 9; ++index)
        bottomUp.append(u"picHole_%1"_s.arg(index));
    bottomUp << u"cmdExit"_s << u"cmdStart"_s << u"picExplo"_s << u"picHit"_s;
    QStringList stacking;
    for (const QObject *child : m_range->window->centralWidget()->children()) {
        if (child->isWidgetType())
            stacking.append(child->objectName());
    }
    QCOMPARE(stacking, bottomUp);
}

void TestMainWindow::focusStartsOnExitAndFollowsTabOrder()
{
    FrmMain &window = *m_range->window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdExit"_s);
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdStart"_s);

    // The whole chain by tab index: the holes, Exit, Start, the marker, the hit picture.
    QStringList chain;
    QWidget *widget = m_range->hole(0);
    for (int step = 0; step < 13; ++step) {
        chain.append(widget->objectName());
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus);
    }
    QStringList expected;
    for (int index = 0; index < 9; ++index)
        expected.append(u"picHole_%1"_s.arg(index));
    expected << u"cmdExit"_s << u"cmdStart"_s << u"picExplo"_s << u"picHit"_s;
    QCOMPARE(chain, expected);
}

void TestMainWindow::menus()
{
    const auto items = [](const QWidget *menu) {
        QStringList described;
        for (const QAction *action : menu->actions())
            described.append(action->objectName() + u' ' + action->text() + u' '
                             + action->shortcut().toString());
        return described;
    };
    QCOMPARE(items(m_range->window->menuBar()), QStringList({u" &File "_s, u" &Help "_s}));
    QCOMPARE(
        items(m_range->control<QMenu>(u"mnuFile"_s)),
        QStringList({u"mnuNew &New Game Ctrl+N"_s, u"mnuDash  "_s, u"mnuExit E&xit Ctrl+X"_s}));
    QCOMPARE(items(m_range->control<QMenu>(u"mnuHelp"_s)),
             QStringList {u"mnuAbout &About Ctrl+A"_s});
}

void TestMainWindow::pointers()
{
    QFile file(u":/assets/gunsight.cur"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(CursorFile::hotSpot(file.readAll()), QPoint(15, 15));
    QCOMPARE(CursorFile::hotSpot(QByteArray(22, '\0')), std::nullopt);

    for (int index = 0; index < 9; ++index)
        QCOMPARE(m_range->hole(index)->cursor().hotSpot(), QPoint(15, 15));
    QCOMPARE(m_range->field()->cursor().hotSpot(), QPoint(14, 15));
    QCOMPARE(m_range->field()->cursor().pixmap().size(), QSize(32, 32));
    QCOMPARE(m_range->control(u"cmdStart"_s)->cursor().shape(), Qt::ArrowCursor);
#ifdef Q_OS_WIN
    QSKIP("Windows keeps the gun-sight as a bitmap that inverts the screen");
#endif
    // Black outer ring, white inner ring, and the small screen-inverting ring in the middle,
    // which Qt's reader would drop; where the screen cannot be inverted it is drawn black.
    const QImage sight = m_range->hole(0)->cursor().pixmap().toImage();
    QCOMPARE(sight.size(), QSize(32, 32));
    QCOMPARE(sight.pixelColor(15 + 6, 15), QColor(Qt::black));
    QCOMPARE(sight.pixelColor(15, 15 - 4), QColor(Qt::white));
    QCOMPARE(sight.pixelColor(15 + 2, 15).alpha(), 255);
    QCOMPARE(sight.pixelColor(15, 15).alpha(), 0);

    // Where a platform shows pointers pixel for pixel they are enlarged to the screen's scale,
    // nearest pixel for nearest pixel, their hot spots with them.
    const QCursor doubled = CursorFile::fromPicture(sight, QPoint(15, 15), 2.0);
    QCOMPARE(doubled.hotSpot(), QPoint(30, 30));
    QCOMPARE(doubled.pixmap().toImage(),
             sight.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void TestMainWindow::colours()
{
    QWidget *field = m_range->field();
    QCOMPARE(m_range->window->centralWidget()->palette().color(QPalette::Window),
             systemColour(SystemColour::Menu));
    const QImage image = logicalPixels(field->grab().toImage(), field->rect());
    // The caption is drawn in black in the border line, over the field's colour.
    bool black = false;
    for (int y = 0; y < 14; ++y)
        for (int x = 8; x < 80; ++x)
            black = black || image.pixelColor(x, y) == QColor(Qt::black);
    QVERIFY(black);
    QCOMPARE(image.pixelColor(field->width() / 2, field->height() / 2),
             systemColour(SystemColour::InactiveBorder));
}

void TestMainWindow::picturesAreDrawnWhole()
{
    Range &range = *m_range;
    range.random.push({drawForHole(4), 0.0f});
    range.window->Start();
    const QRect square(range.hole(4)->mapTo(range.window.get(), QPoint(0, 0)), QSize(81, 81));
    const auto shown = [&] {
        return logicalPixels(range.window->grab().toImage(), square);
    };
    QCOMPARE(shown(), QImage(u"pix/pic0.jpg"_s).convertToFormat(QImage::Format_RGB32));
    range.clickClient(Range::holeCentre(4));
    QCOMPARE(shown(), QImage(u":/assets/fireball.gif"_s).convertToFormat(QImage::Format_RGB32));
}

void TestMainWindow::resizingMovesNothing()
{
    FrmMain &window = *m_range->window;
    QHash<QString, QRect> before;
    for (const QWidget *child : window.centralWidget()->findChildren<QWidget *>())
        before.insert(child->objectName(), child->geometry());
    window.resize(800, 700);
    window.showMaximized();
    window.resize(200, 150);
    QTest::qWait(10);
    for (const QWidget *child : window.centralWidget()->findChildren<QWidget *>())
        QCOMPARE(child->geometry(), before.value(child->objectName()));
}

void TestMainWindow::labelsAndBackgroundReactToNothing()
{
    Range &range = *m_range;
    range.random.push({drawForHole(4), 0.0f});
    range.window->Start();
    for (const QString &name : {u"lblOut"_s, u"Label1"_s, u"Label4"_s})
        range.clickClient(range.control(name)->geometry().center());
    range.clickClient({5, 300}); // the bare window, left of the buttons
    QCOMPARE(range.hits(), u""_s);
    QCOMPARE(range.misses(), u""_s);
    QCOMPARE(range.visibleHoles(), QList<int> {4});
}

VARKOZ_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
