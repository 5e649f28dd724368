// The program's windows and lifetimes: one instance a window, created on first reference and
// destroyed by unloading, and the ways the program ends.
#include "support/program.h"
#include "support/testmain.h"

#include <QAction>
#include <QTest>

using namespace Qt::StringLiterals;

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowsAreCreatedOnFirstReference();
    void closeBoxOfTheMainWindowEndsTheProgram();
    void fileExitLeavesTheAboutWindowOpenUntilOk();
    void countdownNeverRebuildsAClosedMainWindow();
    void exitButtonEndsTheProgramAtOnce_data();
    void exitButtonEndsTheProgramAtOnce();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Program> m_program;
};

void TestShell::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0, 1, 2});
    m_program = std::make_unique<Program>();
}

void TestShell::cleanup()
{
    m_program.reset();
    m_dir.reset();
}

void TestShell::windowsAreCreatedOnFirstReference()
{
    Forms &forms = m_program->forms;
    QVERIFY(!forms.isMainLoaded());
    QVERIFY(!forms.isCountdownLoaded());
    QVERIFY(!forms.isAboutLoaded());
    FrmMain &main = forms.frmMain();
    QCOMPARE(&forms.frmMain(), &main);
    QVERIFY(forms.isMainLoaded());
    // Loaded, not shown: loading counted the pictures.
    QVERIFY(!main.isVisible());
    QCOMPARE(main.wave().pictureCount(), 3);
    QVERIFY(!forms.isCountdownLoaded());
    QVERIFY(!forms.isAboutLoaded());
    FrmAbout &about = forms.frmAbout();
    QCOMPARE(&forms.frmAbout(), &about);
    QVERIFY(about.isHidden()); // loaded is not shown
}

void TestShell::closeBoxOfTheMainWindowEndsTheProgram()
{
    FrmMain &main = m_program->start();
    QVERIFY(main.close());
    Program::settle();
    QVERIFY(!m_program->forms.isMainLoaded());
    QCOMPARE(m_program->allUnloaded.size(), 1);
}

void TestShell::fileExitLeavesTheAboutWindowOpenUntilOk()
{
    FrmMain &main = m_program->start();
    main.findChild<QAction *>(u"mnuAbout"_s)->trigger();
    FrmAbout &about = m_program->forms.frmAbout();
    QVERIFY(about.isVisible());

    main.findChild<QAction *>(u"mnuExit"_s)->trigger();
    Program::settle();
    QVERIFY(!m_program->forms.isMainLoaded());
    QVERIFY(about.isVisible());
    QVERIFY(m_program->allUnloaded.isEmpty());

    Program::clickButton(about, u"cmdOk"_s);
    Program::settle();
    QVERIFY(!m_program->forms.isAboutLoaded());
    QCOMPARE(m_program->allUnloaded.size(), 1);
}

void TestShell::countdownNeverRebuildsAClosedMainWindow()
{
    // A countdown that finished earlier is hidden but loaded, and ticking; closing the main
    // window takes it along, so no hidden main window is ever built and the program ends.
    FrmMain &main = m_program->start();
    Program::clickButton(main, u"cmdStart"_s);
    FrmStart &countdown = m_program->forms.frmStart();
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, u"tmrStart"_s);
    QVERIFY(countdown.isHidden());
    Program::clickButton(main, u"cmdStart"_s);
    QVERIFY(main.close());
    Program::settle();
    QTest::qWait(1500);
    QVERIFY(!m_program->forms.isMainLoaded());
    QVERIFY(!m_program->forms.isCountdownLoaded());
    QCOMPARE(m_program->allUnloaded.size(), 1);
    for (const QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!qobject_cast<const FrmMain *>(window), "a main window was built again");
}

void TestShell::exitButtonEndsTheProgramAtOnce_data()
{
    QTest::addColumn<bool>("countdownShowing");
    QTest::addColumn<bool>("waveRunning");
    QTest::addColumn<bool>("aboutOpen");
    QTest::newRow("idle") << false << false << false;
    QTest::newRow("countdown showing") << true << false << false;
    QTest::newRow("wave running") << false << true << false;
    QTest::newRow("everything at once") << true << true << true;
}

void TestShell::exitButtonEndsTheProgramAtOnce()
{
    QFETCH(bool, countdownShowing);
    QFETCH(bool, waveRunning);
    QFETCH(bool, aboutOpen);
    FrmMain &main = m_program->start();
    if (waveRunning)
        main.Start();
    if (countdownShowing)
        Program::clickButton(main, u"cmdStart"_s);
    if (aboutOpen)
        main.findChild<QAction *>(u"mnuAbout"_s)->trigger();

    QCOMPARE(Program::runEventLoop([&main] { Program::clickButton(main, u"cmdExit"_s); }), 0);
    // Nothing closed: the event loop simply ended, and main() then tears everything down.
    QVERIFY(m_program->allUnloaded.isEmpty());
}

VARKOZ_TEST_MAIN(TestShell)
#include "tst_shell.moc"
