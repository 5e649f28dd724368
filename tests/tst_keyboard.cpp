// The game from the keyboard: every access key and shortcut of the running program.
#include "support/program.h"
#include "support/testmain.h"

#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void altSStartsTheCountdown();
    void altXEndsTheProgram();
    void fileMenuByAccessKeys();
    void helpMenuByAccessKeys();
    void shortcutsWorkFromAnyFocus();
    void enterAndSpacePressTheFocusedButton();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Program> m_program;
    FrmMain *m_main = nullptr;
    // Opens a menu of the menu bar by its access key and chooses an item by its own.
    void chooseFromMenu(Qt::Key menuKey, const QString &menuName, Qt::Key itemKey);
};

void TestKeyboard::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0, 1});
    m_program = std::make_unique<Program>();
    m_main = &m_program->start();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main));
}

void TestKeyboard::cleanup()
{
    m_program.reset();
    m_dir.reset();
}

void TestKeyboard::chooseFromMenu(Qt::Key menuKey, const QString &menuName, Qt::Key itemKey)
{
    auto *menu = Program::control<QMenu>(*m_main, menuName);
    QTest::keyClick(m_main, menuKey, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, itemKey);
    QTRY_VERIFY(!menu->isVisible());
}

void TestKeyboard::altSStartsTheCountdown()
{
    QTest::keyClick(m_main, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(m_program->forms.isCountdownLoaded());
    QCOMPARE(Program::text(m_program->forms.frmStart(), u"Label2"_s), u"5"_s);
}

void TestKeyboard::altXEndsTheProgram()
{
    QCOMPARE(Program::runEventLoop([this] { QTest::keyClick(m_main, Qt::Key_X, Qt::AltModifier); }),
             0);
}

void TestKeyboard::fileMenuByAccessKeys()
{
    Program::control<QLabel>(*m_main, u"lblMiss"_s)->setText(u"7"_s);
    chooseFromMenu(Qt::Key_F, u"mnuFile"_s, Qt::Key_N);
    QCOMPARE(Program::text(*m_main, u"lblMiss"_s), u""_s);

    chooseFromMenu(Qt::Key_F, u"mnuFile"_s, Qt::Key_X);
    Program::settle();
    QVERIFY(!m_program->forms.isMainLoaded());
    QCOMPARE(m_program->allUnloaded.size(), 1);
}

void TestKeyboard::helpMenuByAccessKeys()
{
    chooseFromMenu(Qt::Key_H, u"mnuHelp"_s, Qt::Key_A);
    QVERIFY(m_program->forms.isAboutLoaded());
}

void TestKeyboard::shortcutsWorkFromAnyFocus()
{
    Program::control(*m_main, u"cmdStart"_s)->setFocus();
    Program::control<QLabel>(*m_main, u"lblOut"_s)->setText(u"2"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(Program::text(*m_main, u"lblOut"_s), u""_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(m_program->forms.isAboutLoaded());
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier);
    Program::settle();
    QVERIFY(!m_program->forms.isMainLoaded());
}

void TestKeyboard::enterAndSpacePressTheFocusedButton()
{
    // The focus starts on Exit; Tab moves it to Start, where Enter and Space press it.
    QTest::keyClick(m_main, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdStart"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(m_program->forms.isCountdownLoaded());
    FrmStart &countdown = m_program->forms.frmStart();
    Program::tick(countdown, u"tmrStart"_s);
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(Program::text(countdown, u"Label2"_s), u"5"_s);
}

VARKOZ_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
