// The countdown window: its definition, the Start button's part, the tick's steps, and the real
// timing of first and later countdowns into a wave.
#include "support/program.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString number = u"Label2"_s;
const QString heading = u"Label1"_s;
const QString timer = u"tmrStart"_s;

QList<int> visibleHoles(const FrmMain &main)
{
    QList<int> holes;
    for (int i = 0; i < 9; ++i)
        if (!main.findChild<QWidget *>(u"picHole_%1"_s.arg(i))->isHidden())
            holes.append(i);
    return holes;
}

bool waveRunning(const FrmMain &main)
{
    return main.findChild<QTimer *>(u"tmr1"_s)->isActive();
}
} // namespace

class TestCountdown : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void definition();
    void createdByTheFirstPressOfStart();
    void countsDownOnceATick();
    void reachesZeroHidesAndStartsAWave();
    void goesOnCountingWhileHidden();
    void pressDuringCountdownStartsOverFromFive();
    void pressDuringAWaveStartsASecondTarget();
    void closeBoxUnloadsIt();
    void firstCountdownTakesFiveSeconds();
    void laterCountdownTakesFourToFiveSeconds();
    void mainWindowStaysUsableDuringCountdown();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Program> m_program;
    FrmStart &pressStart();
};

void TestCountdown::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0, 1, 2, 3});
    m_program = std::make_unique<Program>();
    m_program->start();
}

void TestCountdown::cleanup()
{
    m_program.reset();
    m_dir.reset();
}

FrmStart &TestCountdown::pressStart()
{
    Program::clickButton(m_program->forms.frmMain(), u"cmdStart"_s);
    return m_program->forms.frmStart();
}

void TestCountdown::definition()
{
    FrmStart &countdown = pressStart();
    QVERIFY(QTest::qWaitForWindowExposed(&countdown));
    QCOMPARE(countdown.objectName(), u"frmStart"_s);
    QCOMPARE(countdown.windowTitle(), u"               START"_s);
    QCOMPARE(countdown.windowTitle().size(), 20);
    QCOMPARE(countdown.size(), QSize(167, 67));
    QCOMPARE(countdown.minimumSize(), countdown.maximumSize());
    QVERIFY(!countdown.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!countdown.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(countdown.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!countdown.testAttribute(Qt::WA_SetWindowIcon));
    QVERIFY(countdown.autoFillBackground());
    QCOMPARE(countdown.palette().color(QPalette::Window), QColor(128, 128, 255));

    auto *label2 = Program::control<QLabel>(countdown, number);
    auto *label1 = Program::control<QLabel>(countdown, heading);
    label2->ensurePolished();
    label1->ensurePolished();
    QCOMPARE(label2->geometry(), QRect(600 / 15, 480 / 15, 1215 / 15, 495 / 15));
    QCOMPARE(label1->geometry(), QRect(120 / 15, 120 / 15, 2295 / 15, 375 / 15));
    QCOMPARE(label2->font().family(), u"Arial"_s);
    QCOMPARE(label2->font().pointSizeF(), 14.25);
    QVERIFY(label2->font().bold());
    QCOMPARE(label2->palette().color(QPalette::WindowText), QColor(Qt::white));
    QCOMPARE(label1->font().family(), u"Arial"_s);
    QCOMPARE(label1->font().pointSizeF(), 8.25);
    QVERIFY(label1->font().bold());
    QCOMPARE(label1->text(), u"Get Ready..."_s);
    QVERIFY(label1->alignment().testFlag(Qt::AlignHCenter));
    QVERIFY(label2->alignment().testFlag(Qt::AlignHCenter));

    // The number is drawn in white on the window's colour.
    const QImage image = countdown.grab().toImage();
    bool white = false;
    for (int y = label2->y(); y < label2->geometry().bottom() && !white; ++y)
        for (int x = label2->x(); x < label2->geometry().right() && !white; ++x)
            white = image.pixelColor(x, y) == QColor(Qt::white);
    QVERIFY(white);
    QCOMPARE(image.pixelColor(2, 2), QColor(128, 128, 255));
}

void TestCountdown::createdByTheFirstPressOfStart()
{
    QVERIFY(!m_program->forms.isCountdownLoaded());
    FrmStart &countdown = pressStart();
    QVERIFY(m_program->forms.isCountdownLoaded());
    QVERIFY(countdown.isVisible());
    QCOMPARE(Program::text(countdown, number), u"5"_s);
    QCOMPARE(Program::text(countdown, heading), u"Get Ready..."_s);
    const QTimer *tmrStart = Program::control<QTimer>(countdown, timer);
    QVERIFY(tmrStart->isActive());
    QCOMPARE(tmrStart->interval(), 1000);
    QCOMPARE(tmrStart->timerType(), Qt::PreciseTimer);
    // The button stays as it was.
    QVERIFY(Program::control(m_program->forms.frmMain(), u"cmdStart"_s)->isEnabled());
}

void TestCountdown::countsDownOnceATick()
{
    FrmStart &countdown = pressStart();
    QSignalSpy reached(&countdown, &FrmStart::reachedZero);
    Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"4"_s);
    QCOMPARE(Program::text(countdown, heading), u"Get Ready..."_s);
    Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"3"_s);
    QCOMPARE(Program::text(countdown, heading), u"Starting in..."_s);
    Program::tick(countdown, timer);
    Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"1"_s);
    QVERIFY(countdown.isVisible());
    QCOMPARE(reached.size(), 0);
}

void TestCountdown::reachesZeroHidesAndStartsAWave()
{
    FrmMain &main = m_program->forms.frmMain();
    FrmStart &countdown = pressStart();
    m_program->random.push({drawForHole(5), 0.0f});
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"0"_s);
    QVERIFY(countdown.isHidden());
    QVERIFY(m_program->forms.isCountdownLoaded());
    QVERIFY(waveRunning(main));
    QCOMPARE(visibleHoles(main), QList<int> {5});
    QVERIFY(QTest::qWaitForWindowActive(&main));
}

void TestCountdown::goesOnCountingWhileHidden()
{
    FrmStart &countdown = pressStart();
    for (int step = 0; step < 7; ++step)
        Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"-2"_s);
    QVERIFY(countdown.isHidden());
    QCOMPARE(Program::text(countdown, heading), u"Starting in..."_s);
    // Shown again, it reads 5: the number is written before the window shows.
    pressStart();
    QCOMPARE(Program::text(countdown, number), u"5"_s);
    QVERIFY(countdown.isVisible());
    QCOMPARE(Program::text(countdown, heading), u"Starting in..."_s);
}

void TestCountdown::pressDuringCountdownStartsOverFromFive()
{
    FrmStart &countdown = pressStart();
    Program::tick(countdown, timer);
    Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"3"_s);
    QCOMPARE(&pressStart(), &countdown);
    QCOMPARE(Program::text(countdown, number), u"5"_s);
    QCOMPARE(Program::text(countdown, heading), u"Starting in..."_s);
    Program::tick(countdown, timer);
    QCOMPARE(Program::text(countdown, number), u"4"_s);
}

void TestCountdown::pressDuringAWaveStartsASecondTarget()
{
    FrmMain &main = m_program->forms.frmMain();
    FrmStart &countdown = pressStart();
    m_program->random.push({drawForHole(2), 0.0f});
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, timer);
    QCOMPARE(visibleHoles(main), QList<int> {2});

    pressStart();
    m_program->random.push({drawForHole(6), 0.0f});
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, timer);
    QCOMPARE(visibleHoles(main), QList<int>({2, 6}));
}

void TestCountdown::closeBoxUnloadsIt()
{
    FrmStart *countdown = &pressStart();
    QSignalSpy reached(countdown, &FrmStart::reachedZero);
    Program::tick(*countdown, timer);
    Program::tick(*countdown, timer);
    QVERIFY(countdown->close());
    Program::settle();
    QVERIFY(!m_program->forms.isCountdownLoaded());
    QTest::qWait(1200);
    QVERIFY(!waveRunning(m_program->forms.frmMain()));

    // The next press builds it afresh from its definition.
    FrmStart &fresh = pressStart();
    QCOMPARE(Program::text(fresh, heading), u"Get Ready..."_s);
    QCOMPARE(Program::text(fresh, number), u"5"_s);
    QVERIFY(m_program->allUnloaded.isEmpty());
}

void TestCountdown::firstCountdownTakesFiveSeconds()
{
    FrmMain &main = m_program->forms.frmMain();
    QElapsedTimer clock;
    clock.start();
    FrmStart &countdown = pressStart();
    QTRY_COMPARE_WITH_TIMEOUT(Program::text(countdown, number), u"4"_s, 1500);
    QVERIFY(clock.elapsed() >= 950);
    QTRY_COMPARE_WITH_TIMEOUT(Program::text(countdown, number), u"3"_s, 1500);
    QCOMPARE(Program::text(countdown, heading), u"Starting in..."_s);
    QVERIFY(clock.elapsed() >= 1950);
    QTRY_VERIFY_WITH_TIMEOUT(waveRunning(main), 3500);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 4950 && elapsed < 5600, qPrintable(u"%1 ms"_s.arg(elapsed)));
    QVERIFY(countdown.isHidden());
    QCOMPARE(visibleHoles(main).size(), 1);
    QVERIFY(QTest::qWaitForWindowActive(&main));
}

void TestCountdown::laterCountdownTakesFourToFiveSeconds()
{
    FrmMain &main = m_program->forms.frmMain();
    FrmStart &countdown = pressStart();
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, timer);
    QVERIFY(waveRunning(main));
    for (int tick = 0; tick < 20; ++tick)
        Program::tick(main, u"tmr1"_s);
    QVERIFY(!waveRunning(main));

    QTest::qWait(300); // some way into the running countdown timer's second
    QElapsedTimer clock;
    clock.start();
    pressStart();
    QCOMPARE(Program::text(countdown, heading), u"Starting in..."_s);
    QTRY_COMPARE_WITH_TIMEOUT(Program::text(countdown, number), u"4"_s, 1200);
    QVERIFY(clock.elapsed() < 1000);
    QTRY_VERIFY_WITH_TIMEOUT(waveRunning(main), 5500);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 3950 && elapsed < 5100, qPrintable(u"%1 ms"_s.arg(elapsed)));
}

void TestCountdown::mainWindowStaysUsableDuringCountdown()
{
    FrmMain &main = m_program->forms.frmMain();
    FrmStart &countdown = pressStart();
    QVERIFY(QTest::qWaitForWindowExposed(&countdown));
    Program::control<QLabel>(main, u"lblOut"_s)->setText(u"4"_s);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(Program::text(main, u"lblOut"_s), u""_s);
    QVERIFY(countdown.isVisible());
}

VARKOZ_TEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
