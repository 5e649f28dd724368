// What assistive technology learns of the windows through QAccessible: roles, names without
// access-key marks, descriptions, values and states, and the events that announce changes.
#include "support/program.h"
#include "support/testmain.h"

#include <QAccessible>
#include <QAction>
#include <QTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace Qt::StringLiterals;

namespace {

struct Announcement
{
    QString object;
    QAccessible::Event type;
    QString value;
};

QList<Announcement> announcements;

void recordAnnouncement(QAccessibleEvent *event)
{
    Announcement heard {
        event->object() ? event->object()->objectName() : QString(), event->type(), {}};
    if (event->type() == QAccessible::ValueChanged)
        heard.value = static_cast<QAccessibleValueChangeEvent *>(event)->value().toString();
    announcements.append(heard);
}

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QStringList valuesAnnounced(const QString &object)
{
    QStringList values;
    for (const Announcement &heard : announcements)
        if (heard.object == object && heard.type == QAccessible::ValueChanged)
            values.append(heard.value);
    return values;
}

bool announced(const QString &object, QAccessible::Event type)
{
    return std::any_of(announcements.cbegin(), announcements.cend(),
                       [&](const Announcement &a) { return a.object == object && a.type == type; });
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonsAndLabelsSpeakTheirCaptions_data();
    void buttonsAndLabelsSpeakTheirCaptions();
    void holesSayWhatTheyHold();
    void fieldHasNameAndDescription();
    void scoreLabelsSayWhatTheyCountAndAnnounceChanges();
    void countdownAnnouncesItsNumberAndHeading();
    void aboutWindowSpeaks();

private:
    std::unique_ptr<TemporaryCurrentDir> m_dir;
    std::unique_ptr<Program> m_program;
    FrmMain *m_main = nullptr;
};

void TestAccessibility::initTestCase()
{
    // Qt delivers accessibility events only while an assistive technology listens; here the
    // test itself listens, in place of the platform's bridge.
    QPlatformAccessibility *platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    if (!platform)
        QSKIP("this platform offers no accessibility");
    platform->setActive(true);
    QAccessible::installUpdateHandler(recordAnnouncement);
}

void TestAccessibility::init()
{
    announcements.clear();
    m_dir = std::make_unique<TemporaryCurrentDir>();
    writeTargetPictures({0, 1});
    m_program = std::make_unique<Program>();
    m_main = &m_program->start();
}

void TestAccessibility::cleanup()
{
    m_program.reset();
    m_dir.reset();
}

void TestAccessibility::buttonsAndLabelsSpeakTheirCaptions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::newRow("Start") << u"cmdStart"_s << int(QAccessible::Button) << u"Start"_s;
    QTest::newRow("Exit") << u"cmdExit"_s << int(QAccessible::Button) << u"Exit"_s;
    QTest::newRow("Hits:") << u"Label1"_s << int(QAccessible::StaticText) << u"Hits:"_s;
    QTest::newRow("marker") << u"picExplo"_s << int(QAccessible::Graphic) << u"Bullet hole"_s;
}

void TestAccessibility::buttonsAndLabelsSpeakTheirCaptions()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QAccessibleInterface *face = accessible(Program::control(*m_main, control));
    QVERIFY(face);
    QCOMPARE(int(face->role()), role);
    QCOMPARE(face->text(QAccessible::Name), name);
}

void TestAccessibility::holesSayWhatTheyHold()
{
    for (int index = 0; index < 9; ++index) {
        QAccessibleInterface *hole =
            accessible(Program::control(*m_main, u"picHole_%1"_s.arg(index)));
        QCOMPARE(hole->role(), QAccessible::Graphic);
        QCOMPARE(hole->text(QAccessible::Name), u"Hole %1"_s.arg(index + 1));
        QVERIFY(hole->state().invisible);
    }
    m_program->random.push({drawForHole(4), 0.0f});
    m_main->Start();
    QAccessibleInterface *target = accessible(Program::control(*m_main, u"picHole_4"_s));
    QVERIFY(!target->state().invisible);
    QCOMPARE(target->text(QAccessible::Description), u"Target"_s);

    const QPoint centre = m_main->centralWidget()->mapTo(m_main, QPoint(128 + 40, 112 + 40));
    QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {}, centre);
    QCOMPARE(target->text(QAccessible::Description), u"Fireball"_s);
    QVERIFY(announced(u"picHole_4"_s, QAccessible::DescriptionChanged));
}

void TestAccessibility::fieldHasNameAndDescription()
{
    QAccessibleInterface *field = accessible(Program::control(*m_main, u"fraField"_s));
    QCOMPARE(field->role(), QAccessible::Grouping);
    QCOMPARE(field->text(QAccessible::Name), u"Field"_s);
    QVERIFY(field->text(QAccessible::Description).contains(u"miss"_s));
    QVERIFY(field->state().disabled);
    m_main->Start();
    QVERIFY(!field->state().disabled);
}

void TestAccessibility::scoreLabelsSayWhatTheyCountAndAnnounceChanges()
{
    QAccessibleInterface *hits = accessible(Program::control(*m_main, u"lblOut"_s));
    QAccessibleInterface *misses = accessible(Program::control(*m_main, u"lblMiss"_s));
    QAccessibleInterface *precision = accessible(Program::control(*m_main, u"lblTotal"_s));
    QCOMPARE(hits->text(QAccessible::Name), u"Hits"_s);
    QCOMPARE(misses->text(QAccessible::Name), u"Misses"_s);
    QCOMPARE(precision->text(QAccessible::Name), u"Precision"_s);
    QCOMPARE(hits->role(), QAccessible::StaticText);

    m_program->random.push({drawForHole(4), 0.0f});
    m_main->Start();
    const auto click = [this](QPoint client) {
        QTest::mouseClick(m_main->windowHandle(), Qt::LeftButton, {},
                          m_main->centralWidget()->mapTo(m_main, client));
    };
    click({128 + 40, 112 + 40}); // the target in hole 4
    click({128 + 40, 112 + 40});
    click({125, 60}); // the gap between holes 0 and 1
    QCOMPARE(hits->text(QAccessible::Value), u"2"_s);
    QCOMPARE(misses->text(QAccessible::Value), u"1"_s);
    for (int tick = 0; tick < 20; ++tick)
        Program::tick(*m_main, u"tmr1"_s);
    QCOMPARE(precision->text(QAccessible::Value), u"66%"_s);

    QCOMPARE(valuesAnnounced(u"lblOut"_s), QStringList({u"1"_s, u"2"_s}));
    QCOMPARE(valuesAnnounced(u"lblMiss"_s), QStringList {u"1"_s});
    QCOMPARE(valuesAnnounced(u"lblTotal"_s), QStringList {u"66%"_s});

    QTest::keyClick(m_main, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(valuesAnnounced(u"lblOut"_s).last(), QString());
    QCOMPARE(hits->text(QAccessible::Value), QString());
}

void TestAccessibility::countdownAnnouncesItsNumberAndHeading()
{
    Program::clickButton(*m_main, u"cmdStart"_s);
    FrmStart &countdown = m_program->forms.frmStart();
    QCOMPARE(accessible(&countdown)->role(), QAccessible::Window);
    QCOMPARE(accessible(&countdown)->text(QAccessible::Name), u"               START"_s);
    QAccessibleInterface *number = accessible(Program::control(countdown, u"Label2"_s));
    QAccessibleInterface *heading = accessible(Program::control(countdown, u"Label1"_s));
    QCOMPARE(number->text(QAccessible::Name), u"Countdown"_s);
    QCOMPARE(number->text(QAccessible::Value), u"5"_s);
    QCOMPARE(heading->text(QAccessible::Name), u"Get Ready..."_s);
    for (int step = 0; step < 5; ++step)
        Program::tick(countdown, u"tmrStart"_s);
    QCOMPARE(valuesAnnounced(u"Label2"_s),
             QStringList({u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"1"_s, u"0"_s}));
    QCOMPARE(heading->text(QAccessible::Name), u"Starting in..."_s);
    QVERIFY(announced(u"Label1"_s, QAccessible::NameChanged));
}

void TestAccessibility::aboutWindowSpeaks()
{
    m_main->findChild<QAction *>(u"mnuAbout"_s)->trigger();
    FrmAbout &about = m_program->forms.frmAbout();
    QCOMPARE(accessible(&about)->role(), QAccessible::Window);
    QCOMPARE(accessible(Program::control(about, u"cmdOk"_s))->text(QAccessible::Name), u"OK"_s);
    QCOMPARE(accessible(Program::control(about, u"Picture1"_s))->role(), QAccessible::Graphic);
    // A frame without a name of its own is named by its caption.
    QAccessibleInterface *frame = accessible(Program::control(about, u"Frame1"_s));
    QCOMPARE(frame->role(), QAccessible::Grouping);
    QCOMPARE(frame->text(QAccessible::Name), u"Legal Notice:"_s);
}

VARKOZ_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
