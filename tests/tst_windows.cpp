// The windows wired to the game: real presses on the main window's QWindow, the countdown into
// a wave, the exits and the windows' lifetimes, the keys, the pointers, and readable texts under
// a dark theme. CTest also runs it at the screen scale 2, where every press must land as here.
#include "testing.h"

#include "accessibility.h"
#include "cursorfile.h"
#include "forms.h"
#include "frmabout.h"
#include "frmmain.h"
#include "frmstart.h"
#include "game.h"
#include "picturebox.h"
#include "picturefile.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
template<class T = QWidget>
T *control(const QWidget *window, const QString &name)
{
    return window->findChild<T *>(name);
}

QString text(const QWidget *window, const QString &name)
{
    return control<QLabel>(window, name)->text();
}

void activate(QWidget *window)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// A key pressed in the window, made the active one first, as the player would have it.
void press(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::AltModifier)
{
    activate(window);
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void fire(const QWidget *window, const QString &timer)
{
    QMetaObject::invokeMethod(control<QTimer>(window, timer), "timeout", Qt::DirectConnection);
}

// A press and release at a point of the main window's client area, hit-tested as a real one.
void clickAt(FrmMain *main, QPoint client, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(main->windowHandle(), button, {}, main->centralWidget()->mapTo(main, client));
}

// Runs the action in the program's own event loop, wired as the program wires it, and tells
// whether it ended the program; one that goes on is left after half a second.
bool endsTheProgram(Forms &forms, const std::function<void()> &action)
{
    QObject wiring; // and its timers, gone with it
    QObject::connect(&forms, &Forms::allUnloaded, &wiring, &QCoreApplication::quit);
    QTimer::singleShot(0, &wiring, action);
    QTimer::singleShot(500, &wiring, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec() == 0;
}

// The contrast ratio of two colours, from their relative luminance as the web's accessibility
// guidelines define it: 1 for the same colour, 21 for black on white.
qreal contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor colour) {
        const auto linear = [](qreal value) {
            return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
            + 0.0722 * linear(colour.blueF());
    };
    const qreal one = luminance(a), other = luminance(b);
    return (qMax(one, other) + 0.05) / (qMin(one, other) + 0.05);
}

// The contrast of the grab's top-left pixel (its background) and the colour farthest from it.
qreal textContrast(const QImage &grab)
{
    qreal most = 1;
    for (int y = 0; y < grab.height(); ++y)
        for (int x = 0; x < grab.width(); ++x)
            most = qMax(most, contrast(grab.pixelColor(0, 0), grab.pixelColor(x, y)));
    return most;
}
} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryCurrentDir> m_dir;
    // The wave and the countdown move only where a test makes them.
    const HeldTimers m_held {{u"tmr1"_s, u"tmrStart"_s}};
    ScriptedRandom m_random;
    std::unique_ptr<Forms> m_forms;
    FrmMain *m_main = nullptr;

private slots:
    void init()
    {
        QApplication::setQuitOnLastWindowClosed(false); // as in the program
        installAccessibility();
        PictureReading::collectDecoderMessages();
        cleanup();
        m_dir = std::make_unique<TemporaryCurrentDir>();
        writeTargets({0, 1, 2});
        m_random = {};
        m_forms = std::make_unique<Forms>(m_random);
        m_main = &m_forms->frmMain();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
    }

    void cleanup()
    {
        m_forms.reset();
        m_dir.reset();
    }

    void hitsMissesAndTheMarker()
    {
        auto *hole4 = control<PictureBox>(m_main, u"picHole_4"_s);
        const QPoint centre4(168, 152), centre8(256, 240); // of holes 4 and 8, in client pixels
        auto *marker = control<PictureBox>(m_main, u"picExplo"_s);
        // Between waves the field takes no presses.
        clickAt(m_main, {150, 150});
        QCOMPARE(text(m_main, u"lblMiss"_s), QString());

        m_random.push({forHole(4), forPicture(2, 3)});
        m_main->Start();
        QTRY_COMPARE(hole4->size(), QSize(83, 81)); // the target's own picture, once read
        // Three quick clicks on the target are three hits; a press of another button is none.
        QTest::mouseDClick(m_main->windowHandle(), Qt::LeftButton, {},
                           m_main->centralWidget()->mapTo(m_main, centre4));
        clickAt(m_main, centre4);
        clickAt(m_main, centre4 + QPoint(30, 30), Qt::RightButton);
        QCOMPARE(text(m_main, u"lblOut"_s), u"3"_s);
        QCOMPARE(hole4->image().cacheKey(),
                 control<PictureBox>(m_main, u"picHit"_s)->image().cacheKey());

        // A press in a gap, or on a hidden hole, is a miss, with the bullet hole where it landed.
        const QPoint gap(128 - 3, 64);
        clickAt(m_main, gap, Qt::MiddleButton);
        QCOMPARE(text(m_main, u"lblMiss"_s), u"1"_s);
        QVERIFY(marker->isVisible() && (marker->geometry().center() - gap).manhattanLength() <= 2);
        // The marker takes the next press on it and counts nothing.
        clickAt(m_main, gap + QPoint(5, 5));
        QCOMPARE(text(m_main, u"lblMiss"_s), u"1"_s);
        clickAt(m_main, centre8);
        QCOMPARE(text(m_main, u"lblMiss"_s), u"2"_s);
        QVERIFY((marker->geometry().center() - centre8).manhattanLength() <= 2);

        // A tick hides the marker and moves the target.
        m_random.push({forHole(2)});
        Game &game = m_forms->game();
        game.tick();
        QVERIFY(marker->isHidden() && hole4->isHidden() && hole4->image().isNull()
                && control(m_main, u"picHole_2"_s)->isVisible());
        // At the wave's end the precision shows, with its sign; File > New Game, by its
        // shortcut, clears the whole score.
        while (game.isRunning())
            game.tick();
        QCOMPARE(text(m_main, u"lblTotal"_s), u"60%"_s);
        press(m_main, Qt::Key_N, Qt::ControlModifier);
        for (const QString &value : {u"lblOut"_s, u"lblMiss"_s, u"lblTotal"_s})
            QCOMPARE(text(m_main, value), QString());
    }

    void countdownLeadsIntoAWave()
    {
        // The focus starts on Exit; Tab moves it to Start, which Enter presses.
        QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdExit"_s);
        QTest::keyClick(m_main, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        FrmStart *countdown = m_main->findChild<FrmStart *>();
        QVERIFY(countdown && countdown->isVisible() && countdown->windowIcon().isNull());
        QCOMPARE(text(countdown, u"Label2"_s), u"5"_s);
        // A step a second, to the millisecond.
        const QTimer *steps = control<QTimer>(countdown, u"tmrStart"_s);
        QVERIFY(steps->interval() == 1000 && steps->timerType() == Qt::PreciseTimer);
        for (const QString &number : {u"4"_s, u"3"_s, u"2"_s, u"1"_s}) {
            fire(countdown, u"tmrStart"_s);
            QCOMPARE(text(countdown, u"Label2"_s), number);
            QCOMPARE(text(countdown, u"Label1"_s),
                     number == u"4" ? u"Get Ready..."_s : u"Starting in..."_s);
        }
        QVERIFY(!control(m_main, u"fraField"_s)->isEnabled());
        fire(countdown, u"tmrStart"_s);
        QVERIFY(countdown->isHidden());
        QVERIFY(control(m_main, u"fraField"_s)->isEnabled());
        QVERIFY(m_forms->game().isRunning());
        QTRY_VERIFY(m_main->isActiveWindow());

        // Hidden, the number goes on falling; Start shows 5 again, and the heading stays.
        fire(countdown, u"tmrStart"_s);
        QCOMPARE(text(countdown, u"Label2"_s), u"-1"_s);
        press(m_main, Qt::Key_S);
        QTRY_VERIFY(countdown->isVisible());
        QCOMPARE(text(countdown, u"Label2"_s), u"5"_s);
        QCOMPARE(text(countdown, u"Label1"_s), u"Starting in..."_s);
    }

    void exitsAndLifetimes()
    {
        QSignalSpy allUnloaded(m_forms.get(), &Forms::allUnloaded);
        press(m_main, Qt::Key_S);
        QTRY_VERIFY(m_main->findChild<FrmStart *>());
        // Help > About: the focus starts on the photograph, Esc does nothing, and About again
        // brings the same window.
        press(m_main, Qt::Key_A, Qt::ControlModifier);
        FrmAbout *about = &m_forms->frmAbout();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Picture1"_s);
        QTest::keyClick(about, Qt::Key_Escape);
        press(m_main, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(about->isVisible() && &m_forms->frmAbout() == about);
        // OK unloads it; the program goes on with the main window.
        const auto ok = [&about] {
            QTest::keyClick(about, Qt::Key_O, Qt::AltModifier);
        };
        activate(about);
        QVERIFY(!endsTheProgram(*m_forms, ok));
        QVERIFY(!m_forms->frmMain().isHidden());

        // File > Exit unloads the main window with its countdown; the About window stays.
        about = &m_forms->frmAbout();
        about->show();
        QPointer<FrmStart> countdown = m_main->findChild<FrmStart *>();
        press(m_main, Qt::Key_X, Qt::ControlModifier);
        QTRY_VERIFY(countdown.isNull());
        QVERIFY(about->isVisible());
        QCOMPARE(allUnloaded.size(), 0);
        // OK unloads the last window, and the program is done.
        activate(about);
        QVERIFY(endsTheProgram(*m_forms, ok));
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);

        // The Exit button ends the program at once, with the countdown and About open.
        init();
        press(m_main, Qt::Key_S);
        m_forms->frmAbout().show();
        QVERIFY(endsTheProgram(*m_forms, [this] { clickAt(m_main, {216, 308}); }));
    }

    void pointersAndWhatAssistiveTechnologyHears()
    {
        // The field is heard by its caption, as its name only.
        QAccessibleInterface *field =
            QAccessible::queryAccessibleInterface(control(m_main, u"fraField"_s));
        QCOMPARE(field->text(QAccessible::Name) + field->text(QAccessible::Help), u"The Varkoz"_s);
        // The gun-sight over the holes and the cross-hair over the field, hot spots from the files.
        const QCursor sight = control(m_main, u"picHole_4"_s)->cursor();
        QCOMPARE(std::pair(sight.hotSpot(), control(m_main, u"fraField"_s)->cursor().hotSpot()),
                 std::pair(QPoint(15, 15), QPoint(14, 15)));
        // Black and white rings, and the ring that inverts the screen: Windows draws it from the
        // cursor's bitmap and mask (1 and 0); elsewhere, where pointers cannot invert, it is black.
#ifdef Q_OS_WIN
        const QImage bits = sight.bitmap().toImage(), mask = sight.mask().toImage();
        const auto ink = [&](int x, int y) {
            return ".iwb"[mask.pixelIndex(x, y) * 2 + bits.pixelIndex(x, y)];
        };
        const char *inverting = "i";
#else
        const QImage picture = sight.pixmap().toImage();
        const QHash<QRgb, char> colours {
            {0, '.'}, {qRgb(0, 0, 0), 'b'}, {qRgb(255, 255, 255), 'w'}};
        const auto ink = [&](int x, int y) {
            return colours.value(picture.pixel(x, y), '?');
        };
        const char *inverting = "b";
#endif
        QByteArray inks;
        for (const QPoint at : {QPoint(15 + 6, 15), QPoint(15, 15 - 4), QPoint(15 + 2, 15),
                                QPoint(15, 15), QPoint(31, 31)})
            inks += ink(at.x(), at.y());
        QCOMPARE(inks, QByteArray("bw") + inverting + "..");
        // Where pointers show pixel for pixel they are enlarged, their hot spots with them.
        QCOMPARE(
            CursorFile::fromPicture(QImage(32, 32, QImage::Format_ARGB32), {15, 15}, 2.0).hotSpot(),
            QPoint(30, 30));
    }

    void darkThemeKeepsEveryTextReadable()
    {
        const QPalette light = QApplication::palette();
        // A dark theme's buttons and windows, with light text.
        QApplication::setPalette(QPalette(QColor(50, 50, 50), QColor(36, 36, 36)));
        const auto restore = qScopeGuard([light] { QApplication::setPalette(light); });
        init();
        m_main->Start();
        clickAt(m_main, {125, 64}); // a miss, so that its count shows
        m_forms->frmStart().countDownFromFive();
        m_forms->frmAbout().show();
        for (QWidget *window : QWidgetList {m_main, &m_forms->frmStart(), &m_forms->frmAbout()}) {
            QVERIFY(QTest::qWaitForWindowExposed(window));
            for (QLabel *label : window->findChildren<QLabel *>()) {
                if (label->text().isEmpty() || label->window() != window)
                    continue;
                const QRect place(label->mapTo(window, QPoint(0, 0)), label->size());
                const QImage grab = window->grab(place).toImage();
                // The countdown number is large bold text, for which 3 to 1 reads.
                const qreal needed = label->font().pointSizeF() >= 14 ? 3.0 : 4.5;
                QVERIFY2(textContrast(grab) >= needed,
                         qPrintable(label->objectName() + label->text()));
            }
        }
        // The field's caption, in the frame's top line.
        QWidget *field = control(m_main, u"fraField"_s);
        QVERIFY(textContrast(field->grab(QRect(10, 0, 50, 12)).toImage()) >= 4.5);
        // Its frame is etched in: dark outside on the left, light outside on the right.
        const QImage frame = field->grab().toImage();
        QCOMPARE(std::pair(frame.pixelColor(0, 100), frame.pixelColor(frame.width() - 1, 100)),
                 std::pair(field->palette().dark().color(), field->palette().light().color()));
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
