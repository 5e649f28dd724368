// The main window as it is loaded: every control's place, look and initial state, the z-order,
// the focus order, the menus and their shortcuts, the pointers and the behaviour on resizing.
#include "support/definition.h"
#include "support/range.h"
#include "support/testmain.h"

#include "captionframe.h"
#include "cursorfile.h"
#include "systemcolours.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void controlGeometry_data();
    void controlGeometry();
    void holesLieOverTheField();
    void captionsAndFonts_data();
    void captionsAndFonts();
    void initialState();
    void zOrder();
    void focusStartsOnExitAndFollowsTabOrder();
    void menus();
    void shortcuts();
    void pointers();
    void colours();
    void resizingMovesNothing();
    void labelsAndBackgroundReactToNothing();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Range> m_range;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
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
    QCOMPARE(window.objectName(), u"frmMain"_s);
    QCOMPARE(window.windowTitle(), u"    --= VARKOZ 1.0 beta =--"_s);
    QCOMPARE(window.centralWidget()->size(), QSize(px(5055), px(5805)));
    QCOMPARE(window.centralWidget()->y(), window.menuBar()->geometry().bottom() + 1);

    const QList<QSize> iconSizes = window.windowIcon().availableSizes();
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
        QVERIFY2(iconSizes.contains(size), qPrintable(u"icon size %1"_s.arg(size.width())));

    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(!flags.testFlag(Qt::CustomizeWindowHint)
            || (flags.testFlag(Qt::WindowMinimizeButtonHint)
                && flags.testFlag(Qt::WindowMaximizeButtonHint)));
    QVERIFY(window.minimumSize() != window.maximumSize());

    // First shown in the middle of the screen (the frame may shift it by a few pixels).
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
    QCOMPARE(control->parentWidget(), m_range->window->centralWidget());
    QCOMPARE(control->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
}

void TestMainWindow::holesLieOverTheField()
{
    for (int index = 0; index < 9; ++index) {
        const PictureBox *hole = m_range->hole(index);
        QVERIFY(hole);
        // Siblings of the field, not its children: a disabled field must not disable them.
        QCOMPARE(hole->parentWidget(), m_range->window->centralWidget());
        QVERIFY(m_range->field()->geometry().contains(hole->geometry()));
        QVERIFY(hole->autoSize());
    }
    QCOMPARE(m_range->marker()->parentWidget(), m_range->window->centralWidget());
}

void TestMainWindow::captionsAndFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("alignment");
    const int right = Qt::AlignRight;
    const int left = Qt::AlignLeft;
    QTest::newRow("Label1") << u"Label1"_s << u"Hits:"_s << u"Arial"_s << 9.75 << true << false
                            << right;
    QTest::newRow("Label2") << u"Label2"_s << u"Misses:"_s << u"Arial"_s << 9.75 << true << false
                            << right;
    QTest::newRow("Label3") << u"Label3"_s << u"Precision:"_s << u"Arial"_s << 9.75 << true << false
                            << right;
    QTest::newRow("lblOut") << u"lblOut"_s << u""_s << u"Arial"_s << 9.75 << true << false << left;
    QTest::newRow("lblMiss") << u"lblMiss"_s << u""_s << u"Arial"_s << 9.75 << true << false
                             << left;
    QTest::newRow("lblTotal") << u"lblTotal"_s << u""_s << u"Arial"_s << 9.75 << true << false
                              << left;
}

void TestMainWindow::captionsAndFonts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(int, alignment);
    QLabel *label = m_range->control<QLabel>(name);
    QVERIFY(label);
    label->ensurePolished();
    QCOMPARE(label->text(), text);
    QCOMPARE(label->font().family(), family);
    QCOMPARE(label->font().pointSizeF(), points);
    QCOMPARE(label->font().bold(), bold);
    QCOMPARE(label->font().italic(), italic);
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
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

    auto *field = range.control<CaptionFrame>(u"fraField"_s);
    field->ensurePolished();
    QCOMPARE(field->title(), u"The Varkoz"_s);
    QCOMPARE(field->font().family(), u"MS Sans Serif"_s);
    QCOMPARE(field->font().pointSizeF(), 9.75);
    QVERIFY(field->font().bold());
    QVERIFY(field->font().italic());

    QCOMPARE(range.control<QPushButton>(u"cmdStart"_s)->text(), u"&Start"_s);
    QCOMPARE(range.control<QPushButton>(u"cmdExit"_s)->text(), u"E&xit"_s);
    QVERIFY(range.control(u"cmdStart"_s)->isEnabled());
    QVERIFY(range.control(u"cmdExit"_s)->isEnabled());
    QVERIFY(!range.control<QLabel>(u"Label4"_s)->text().isEmpty());

    // The hit picture and the miss marker hold their pictures from the start.
    QCOMPARE(range.hitPicture()->picture().size(), QSize(81, 81));
    QCOMPARE(range.marker()->picture().size(), QSize(31, 31));
    QCOMPARE(range.marker()->size(), QSize(31, 31));
}

void TestMainWindow::zOrder()
{
    // From the bottom up: the labels on the window's surface, the field, the holes 0 to 8, the
    // buttons, the miss marker, the hit picture.
    const QStringList bottomUp {u"lblOut"_s,    u"lblMiss"_s,   u"lblTotal"_s,  u"Label1"_s,
                                u"Label2"_s,    u"Label3"_s,    u"Label4"_s,    u"fraField"_s,
                                u"picHole_0"_s, u"picHole_1"_s, u"picHole_2"_s, u"picHole_3"_s,
                                u"picHole_4"_s, u"picHole_5"_s, u"picHole_6"_s, u"picHole_7"_s,
                                u"picHole_8"_s, u"cmdExit"_s,   u"cmdStart"_s,  u"picExplo"_s,
                                u"picHit"_s};
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
    QCOMPARE(QApplication::focusWidget(), m_range->control(u"cmdExit"_s));
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_range->control(u"cmdStart"_s));
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_range->control(u"cmdExit"_s));

    // The chain itself, by tab index: the holes, then Exit, Start, the marker, the hit picture.
    QStringList chain;
    QWidget *widget = m_range->hole(0);
    for (int step = 0; step < 13; ++step) {
        chain.append(widget->objectName());
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus);
    }
    QCOMPARE(
        chain,
        QStringList({u"picHole_0"_s, u"picHole_1"_s, u"picHole_2"_s, u"picHole_3"_s, u"picHole_4"_s,
                     u"picHole_5"_s, u"picHole_6"_s, u"picHole_7"_s, u"picHole_8"_s, u"cmdExit"_s,
                     u"cmdStart"_s, u"picExplo"_s, u"picHit"_s}));
    QCOMPARE(m_range->field()->focusPolicy(), Qt::NoFocus);
}

void TestMainWindow::menus()
{
    const QMenuBar *bar = m_range->window->menuBar();
    const QList<QAction *> top = bar->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(0)->text(), u"&File"_s);
    QCOMPARE(top.at(1)->text(), u"&Help"_s);
    QCOMPARE(top.at(0)->menu()->objectName(), u"mnuFile"_s);
    QCOMPARE(top.at(1)->menu()->objectName(), u"mnuHelp"_s);

    const QList<QAction *> file = top.at(0)->menu()->actions();
    QCOMPARE(file.size(), 3);
    QCOMPARE(file.at(0)->objectName(), u"mnuNew"_s);
    QCOMPARE(file.at(0)->text(), u"&New Game"_s);
    QCOMPARE(file.at(0)->shortcut(), QKeySequence(u"Ctrl+N"_s));
    QCOMPARE(file.at(1)->objectName(), u"mnuDash"_s);
    QVERIFY(file.at(1)->isSeparator());
    QCOMPARE(file.at(2)->objectName(), u"mnuExit"_s);
    QCOMPARE(file.at(2)->text(), u"E&xit"_s);
    QCOMPARE(file.at(2)->shortcut(), QKeySequence(u"Ctrl+X"_s));

    const QList<QAction *> help = top.at(1)->menu()->actions();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0)->objectName(), u"mnuAbout"_s);
    QCOMPARE(help.at(0)->text(), u"&About"_s);
    QCOMPARE(help.at(0)->shortcut(), QKeySequence(u"Ctrl+A"_s));

    for (const QAction *action : file + help) {
        QVERIFY(action->isEnabled());
        QVERIFY(action->isVisible());
        QVERIFY(!action->isCheckable());
    }
}

void TestMainWindow::shortcuts()
{
    FrmMain &window = *m_range->window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy about(&window, &FrmMain::aboutChosen);
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(about.size(), 1);

    m_range->setCaption(u"lblOut"_s, u"3"_s);
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m_range->hits(), u""_s);

    // An access key presses its button, which shows the press for a moment before it clicks.
    QSignalSpy start(&window, &FrmMain::startClicked);
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(start.size(), 1);

    QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
}

void TestMainWindow::pointers()
{
    const auto hotSpotOf = [](const QString &file) {
        QFile cursor(file);
        return cursor.open(QIODevice::ReadOnly) ? CursorFile::hotSpot(cursor.readAll())
                                                : std::nullopt;
    };
    QCOMPARE(hotSpotOf(u":/assets/gunsight.cur"_s), QPoint(15, 15));
    QCOMPARE(hotSpotOf(u":/assets/crosshair.cur"_s), QPoint(14, 15));

    for (int index = 0; index < 9; ++index) {
        const QCursor cursor = m_range->hole(index)->cursor();
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(15, 15));
#ifdef Q_OS_WIN
        QCOMPARE(cursor.bitmap().size(), QSize(32, 32));
#else
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
#endif
    }
#ifdef Q_OS_WIN
    QSKIP("Windows keeps the gun-sight as a bitmap that inverts the screen; the rest looks at "
          "the pictures of pixmap pointers");
#endif
    // Black outer ring, white inner ring, and the small screen-inverting ring in the middle,
    // which Qt's reader would drop; where the screen cannot be inverted it is drawn black.
    const QImage sight = m_range->hole(0)->cursor().pixmap().toImage();
    QCOMPARE(sight.pixelColor(15 + 6, 15), QColor(Qt::black));
    QCOMPARE(sight.pixelColor(15, 15 - 4), QColor(Qt::white));
    QCOMPARE(sight.pixelColor(15 + 2, 15).alpha(), 255);
    QCOMPARE(sight.pixelColor(15, 15).alpha(), 0);
    QCOMPARE(sight.pixelColor(0, 0).alpha(), 0);

    const QCursor cross = m_range->field()->cursor();
    QCOMPARE(cross.shape(), Qt::BitmapCursor);
    QCOMPARE(cross.hotSpot(), QPoint(14, 15));
    QCOMPARE(cross.pixmap().size(), QSize(32, 32));
    QCOMPARE(m_range->control(u"cmdStart"_s)->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_range->window->centralWidget()->cursor().shape(), Qt::ArrowCursor);

    // Where a platform shows pointers pixel for pixel, they are enlarged to the screen's
    // scale, nearest pixel for nearest pixel, their hot spots with them.
    const QCursor doubled = CursorFile::fromPicture(sight, QPoint(15, 15), 2.0);
    QCOMPARE(doubled.pixmap().size(), QSize(64, 64));
    QCOMPARE(doubled.hotSpot(), QPoint(30, 30));
    const QImage big = doubled.pixmap().toImage();
    for (const QPoint pixel : {QPoint(21, 15), QPoint(15, 11), QPoint(17, 15), QPoint(15, 15)}) {
        for (const QPoint corner : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
            QCOMPARE(big.pixel(pixel * 2 + corner), sight.pixel(pixel));
    }
    QCOMPARE(CursorFile::fromPicture(sight, QPoint(15, 15), 1.0).pixmap().size(), QSize(32, 32));

    // Bytes that are no cursor file give no hot spot.
    QCOMPARE(CursorFile::hotSpot(QByteArray("\0\0\1\0\1\0", 6)), std::nullopt);
    QCOMPARE(CursorFile::hotSpot(QByteArray(22, '\0')), std::nullopt);
}

void TestMainWindow::colours()
{
    const QWidget *client = m_range->window->centralWidget();
    QVERIFY(client->autoFillBackground());
    QCOMPARE(client->palette().color(QPalette::Window), systemColour(SystemColour::Menu));
    QWidget *field = m_range->field();
    QVERIFY(field->autoFillBackground());
    QCOMPARE(field->palette().color(QPalette::Window), systemColour(SystemColour::InactiveBorder));
    QCOMPARE(field->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::black));

    // The caption is drawn in black over the field's colour, in the border line.
    const QImage image = field->grab().toImage();
    bool black = false;
    for (int y = 0; y < 14 && !black; ++y)
        for (int x = 8; x < 80 && !black; ++x)
            black = image.pixelColor(x, y) == QColor(Qt::black);
    QVERIFY(black);
    QCOMPARE(image.pixelColor(field->width() / 2, field->height() / 2),
             systemColour(SystemColour::InactiveBorder));
}

void TestMainWindow::resizingMovesNothing()
{
    FrmMain &window = *m_range->window;
    QHash<QString, QRect> before;
    for (const QWidget *child : window.centralWidget()->findChildren<QWidget *>())
        before.insert(child->objectName(), child->geometry());
    window.resize(800, 700);
    QTest::qWait(10);
    window.showMaximized();
    QTest::qWait(10);
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
    for (const QString &name : {u"lblOut"_s, u"Label1"_s, u"Label4"_s}) {
        QWidget *label = range.control(name);
        range.clickClient(label->geometry().center());
    }
    range.clickClient({5, 300}); // the bare window, left of the buttons
    QCOMPARE(range.hits(), u""_s);
    QCOMPARE(range.misses(), u""_s);
    QCOMPARE(range.visibleHoles(), QList<int> {4});
}

VARKOZ_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
