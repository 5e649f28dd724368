// The countdown window: its definition, the Start button's part, the tick's steps, and the real
// timing of a later countdown (the first one's timing is part of the whole-wave test).
#include "support/program.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString number = u"Label2"_s;
const QString heading = u"Label1"_s;
const QString timer = u"tmrStart"_s;

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
    void countsDownIntoAWave();
    void pressDuringCountdownStartsOverFromFive();
    void closeBoxUnloadsIt();
    void laterCountdownTakesFourToFiveSeconds();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Program> m_program;
    FrmStart &pressStart();
    QString shown(const QString &label)
    {
        return Program::text(m_program->forms.frmStart(), label);
    }
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
    QCOMPARE(countdown.windowTitle(), u"               START"_s);
    QCOMPARE(countdown.size(), QSize(167, 67));
    QCOMPARE(countdown.minimumSize(), countdown.maximumSize());
    QVERIFY(!countdown.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!countdown.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!countdown.testAttribute(Qt::WA_SetWindowIcon));

    auto *label2 = Program::control<QLabel>(countdown, number);
    auto *label1 = Program::control<QLabel>(countdown, heading);
    QCOMPARE(label2->geometry(), QRect(600 / 15, 480 / 15, 1215 / 15, 495 / 15));
    QCOMPARE(label1->geometry(), QRect(120 / 15, 120 / 15, 2295 / 15, 375 / 15));
    QCOMPARE(label2->font().family(), u"Arial"_s);
    QCOMPARE(label2->font().pointSizeF(), 14.25);
    QVERIFY(label2->font().bold());
    QCOMPARE(label1->font().pointSizeF(), 8.25);
    QVERIFY(label1->font().bold());
    QVERIFY(label2->alignment().testFlag(Qt::AlignHCenter));

    // The number is drawn in white on the window's colour.
    const QImage image = countdown.grab().toImage();
    bool white = false;
    for (int y = label2->y(); y < label2->geometry().bottom(); ++y)
        for (int x = label2->x(); x < label2->geometry().right(); ++x)
            white = white || image.pixelColor(x, y) == QColor(Qt::white);
    QVERIFY(white);
    QCOMPARE(image.pixelColor(2, 2), QColor(128, 128, 255));
}

void TestCountdown::countsDownIntoAWave()
{
    FrmMain &main = m_program->forms.frmMain();
    QVERIFY(!m_program->forms.isCountdownLoaded());
    FrmStart &countdown = pressStart();
    // Created by the first press, its timer running from then on.
    QVERIFY(countdown.isVisible());
    const QTimer *tmrStart = Program::control<QTimer>(countdown, timer);
    QVERIFY(tmrStart->isActive());
    QCOMPARE(tmrStart->interval(), 1000);
    QCOMPARE(shown(number), u"5"_s);
    QCOMPARE(shown(heading), u"Get Ready..."_s);

    const QStringList headings {u"Get Ready..."_s, u"Starting in..."_s, u"Starting in..."_s,
                                u"Starting in..."_s};
    for (int step = 0; step < 4; ++step) {
        Program::tick(countdown, timer);
        QCOMPARE(shown(number), QString::number(4 - step));
        QCOMPARE(shown(heading), headings.at(step));
    }
    QVERIFY(!waveRunning(main));
    m_program->random.push({drawForHole(5), 0.0f});
    Program::tick(countdown, timer);
    QCOMPARE(shown(number), u"0"_s);
    QVERIFY(countdown.isHidden());
    QVERIFY(waveRunning(main));
    QVERIFY(!Program::control(main, u"picHole_5"_s)->isHidden());
    QVERIFY(QTest::qWaitForWindowActive(&main));

    // Hidden, it goes on counting; shown again it reads 5, written before it shows.
    Program::tick(countdown, timer);
    Program::tick(countdown, timer);
    QCOMPARE(shown(number), u"-2"_s);
    pressStart();
    QCOMPARE(shown(number), u"5"_s);
    QCOMPARE(shown(heading), u"Starting in..."_s);
}

void TestCountdown::pressDuringCountdownStartsOverFromFive()
{
    FrmStart &countdown = pressStart();
    Program::tick(countdown, timer);
    Program::tick(countdown, timer);
    QCOMPARE(&pressStart(), &countdown);
    QCOMPARE(shown(number), u"5"_s);
    Program::tick(countdown, timer);
    QCOMPARE(shown(number), u"4"_s);
    // The main window stays usable meanwhile.
    FrmMain &main = m_program->forms.frmMain();
    Program::control<QLabel>(main, u"lblOut"_s)->setText(u"4"_s);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(Program::text(main, u"lblOut"_s), u""_s);
    QVERIFY(countdown.isVisible());
}

void TestCountdown::closeBoxUnloadsIt()
{
    FrmStart *countdown = &pressStart();
    Program::tick(*countdown, timer);
    QVERIFY(countdown->close());
    Program::settle();
    QVERIFY(!m_program->forms.isCountdownLoaded());
    QTest::qWait(1200);
    QVERIFY(!waveRunning(m_program->forms.frmMain()));
    // The next press builds it afresh from its definition.
    pressStart();
    QCOMPARE(shown(heading), u"Get Ready..."_s);
    QCOMPARE(shown(number), u"5"_s);
}

void TestCountdown::laterCountdownTakesFourToFiveSeconds()
{
    FrmMain &main = m_program->forms.frmMain();
    FrmStart &countdown = pressStart();
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, timer);
    for (int tick = 0; tick < 20; ++tick)
        Program::tick(main, u"tmr1"_s);
    QVERIFY(!waveRunning(main));

    QTest::qWait(300); // some way into the running countdown timer's second
    QElapsedTimer clock;
    clock.start();
    pressStart();
    QTRY_COMPARE_WITH_TIMEOUT(shown(number), u"4"_s, 1200);
    QVERIFY(clock.elapsed() < 1000);
    QTRY_VERIFY_WITH_TIMEOUT(waveRunning(main), 5500);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 3950 && elapsed < 5100, qPrintable(u"%1 ms"_s.arg(elapsed)));
}

VARKOZ_TEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
