// The About window: its definition, its focus order and keys, and how Help > About and OK open
// and unload it.
#include "support/program.h"
#include "support/testmain.h"

#include "captionframe.h"
#include "picturebox.h"

#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void texts();
    void photograph();
    void keys_data();
    void keys();
    void aboutTwiceLeavesOneWindow();
    void closeBoxUnloadsAndAboutBuildsItAfresh();
    void waveGoesOnWhileItIsOpen();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Program> m_program;
    FrmAbout &openAbout();
};

void TestAbout::init()
{
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0, 1});
    m_program = std::make_unique<Program>();
    m_program->start();
}

void TestAbout::cleanup()
{
    m_program.reset();
    m_dir.reset();
}

FrmAbout &TestAbout::openAbout()
{
    FrmMain &main = m_program->forms.frmMain();
    main.activateWindow();
    (void)QTest::qWaitForWindowActive(&main);
    QTest::keyClick(&main, Qt::Key_A, Qt::ControlModifier);
    FrmAbout &about = m_program->forms.frmAbout();
    (void)QTest::qWaitForWindowActive(&about);
    return about;
}

void TestAbout::window()
{
    const FrmAbout &about = openAbout();
    QCOMPARE(about.objectName(), u"frmAbout"_s);
    QCOMPARE(about.windowTitle(), u"                          About"_s);
    QCOMPARE(about.size(), QSize(px(4680), px(2895)));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!about.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(about.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(about.windowIcon().availableSizes().contains(QSize(32, 32)));
    QVERIFY(about.isActiveWindow());
}

void TestAbout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("cmdOk") << u"cmdOk"_s << u"frmAbout"_s << QRect(3600, 2520, 975, 375);
    QTest::newRow("Frame1") << u"Frame1"_s << u"frmAbout"_s << QRect(120, 1560, 4455, 855);
    QTest::newRow("Label4") << u"Label4"_s << u"Frame1"_s << QRect(120, 240, 4215, 495);
    QTest::newRow("Picture1") << u"Picture1"_s << u"frmAbout"_s << QRect(120, 120, 1635, 1440);
    QTest::newRow("Label6") << u"Label6"_s << u"frmAbout"_s << QRect(2040, 1200, 2415, 255);
    QTest::newRow("Label5") << u"Label5"_s << u"frmAbout"_s << QRect(2040, 720, 2535, 495);
    QTest::newRow("Label3") << u"Label3"_s << u"frmAbout"_s << QRect(120, 2640, 1935, 255);
    QTest::newRow("Label1") << u"Label1"_s << u"frmAbout"_s << QRect(1800, 120, 2775, 615);
}

void TestAbout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, twips);
    const FrmAbout &about = openAbout();
    const QWidget *control = Program::control(about, name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(),
             QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
}

void TestAbout::texts()
{
    const FrmAbout &about = openAbout();
    auto *title = Program::control<QLabel>(about, u"Label1"_s);
    QCOMPARE(title->text(), u"VARKOZ   version: 1.0 beta"_s);
    QCOMPARE(title->font().family(), u"PMingLiU"_s);
    QCOMPARE(title->font().pointSizeF(), 12.0);
    QVERIFY(title->font().bold());
    QVERIFY(title->font().italic());
    QCOMPARE(Program::control<CaptionFrame>(about, u"Frame1"_s)->title(), u"Legal Notice:"_s);
    QCOMPARE(Program::control<QPushButton>(about, u"cmdOk"_s)->text(), u"&OK"_s);
    const QString notice = Program::text(about, u"Label4"_s);
    QVERIFY2(notice.size() >= 95 && notice.size() <= 115, qPrintable(notice));

    // Every text fits its label, wrapped within its width.
    for (const QLabel *label : about.findChildren<QLabel *>()) {
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                                               Qt::TextWordWrap, label->text());
        QVERIFY2(needed.height() <= label->height() && needed.width() <= label->width(),
                 qPrintable(label->objectName()));
    }
}

void TestAbout::photograph()
{
    const FrmAbout &about = openAbout();
    auto *picture = Program::control<PictureBox>(about, u"Picture1"_s);
    QCOMPARE(picture->picture().size(), QSize(105, 92));
    QVERIFY(picture->sunkenBorder());
    QCOMPARE(picture->size(), QSize(109, 96));
    // Drawn at its top-left corner, inside the two-pixel border.
    const QImage shown =
        picture->grab().toImage().copy(2, 2, 105, 92).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, picture->picture().toImage().convertToFormat(QImage::Format_RGB32));
}

void TestAbout::keys_data()
{
    QTest::addColumn<bool>("focusOnOk");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Esc") << false << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Esc on OK") << true << int(Qt::Key_Escape) << 0 << false;
    QTest::newRow("Enter on the picture") << false << int(Qt::Key_Return) << 0 << false;
    QTest::newRow("Space on the picture") << false << int(Qt::Key_Space) << 0 << false;
    QTest::newRow("Enter on OK") << true << int(Qt::Key_Return) << 0 << true;
    QTest::newRow("Space on OK") << true << int(Qt::Key_Space) << 0 << true;
    QTest::newRow("Alt+O from the picture")
        << false << int(Qt::Key_O) << int(Qt::AltModifier) << true;
}

void TestAbout::keys()
{
    QFETCH(bool, focusOnOk);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);
    FrmAbout &about = openAbout();
    if (focusOnOk)
        QTest::keyClick(&about, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    // An access key shows the button pressed for a moment before it clicks.
    QTest::qWait(250);
    Program::settle();
    QCOMPARE(!m_program->forms.isAboutLoaded(), closes);
}

void TestAbout::aboutTwiceLeavesOneWindow()
{
    FrmAbout &first = openAbout();
    FrmMain &main = m_program->forms.frmMain();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(&m_program->forms.frmAbout(), &first);
    QVERIFY(QTest::qWaitForWindowActive(&first));
    int abouts = 0;
    for (const QWidget *window : QApplication::topLevelWidgets())
        abouts += qobject_cast<const FrmAbout *>(window) && window->isVisible();
    QCOMPARE(abouts, 1);
}

void TestAbout::closeBoxUnloadsAndAboutBuildsItAfresh()
{
    FrmAbout *about = &openAbout();
    QSignalSpy destroyed(about, &QObject::destroyed);
    QVERIFY(about->close());
    Program::settle();
    QCOMPARE(destroyed.size(), 1);
    QVERIFY(!m_program->forms.isAboutLoaded());
    QVERIFY(m_program->allUnloaded.isEmpty());

    // Built again from its definition, it opens with the focus on the picture; Tab goes to OK.
    FrmAbout &again = openAbout();
    QCOMPARE(QApplication::focusWidget(), Program::control(again, u"Picture1"_s));
    QTest::keyClick(&again, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Program::control(again, u"cmdOk"_s));
}

void TestAbout::waveGoesOnWhileItIsOpen()
{
    FrmMain &main = m_program->forms.frmMain();
    m_program->random.push({drawForHole(4), 0.0f});
    main.Start();
    openAbout();
    const QPoint hole = main.centralWidget()->mapTo(&main, QPoint(px(1920) + 40, px(1680) + 40));
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, hole);
    QCOMPARE(Program::text(main, u"lblOut"_s), u"1"_s);
    QVERIFY(m_program->forms.isAboutLoaded());
    QTRY_VERIFY_WITH_TIMEOUT(main.findChild<QWidget *>(u"picHole_4"_s)->isHidden(), 1000);
}

VARKOZ_TEST_MAIN(TestAbout)
#include "tst_about.moc"
