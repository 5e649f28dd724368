// Long play: a thousand waves through the whole program's windows, as fast as the handlers run
// (the timers are held, and the test calls their handlers), with hits and misses by real clicks,
// New Game, Start pressed again during a wave, the About window opened and closed, and the
// countdown window closed and built again. Every wave ends with the score as shot, and the memory
// the program holds does not creep up from wave to wave. The sanitizer build adds its leak check.
#include "frmabout.h"
#include "frmstart.h"
#include "picturebox.h"
#include "support/program.h"
#include "support/robustness.h"
#include "support/testmain.h"
#include "support/warnings.h"

#include <QAction>
#include <QRegularExpression>
#include <QWindow>

#include <optional>
#include <random>

#if defined(__SANITIZE_ADDRESS__)
#define VARKOZ_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARKOZ_ASAN
#endif
#endif
#ifdef VARKOZ_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes(); // GCC's runtime has no header
#endif

using namespace Qt::StringLiterals;

namespace {

// The memory the program holds. Under AddressSanitizer, whose quarantine of freed blocks lets
// resident memory grow by design, the bytes its allocator has handed out stand in for it.
#ifdef VARKOZ_ASAN
const char *const measure = "heap in use";
qint64 memoryInUse()
{
    return qint64(__sanitizer_get_current_allocated_bytes());
}
#else
const char *const measure = "resident memory";
qint64 memoryInUse()
{
    return processMemory("VmRSS");
}
#endif

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void thousandWaves();
};

void TestSoak::thousandWaves()
{
    constexpr int waves = 1000;
    constexpr int settledAfter = 50;
    constexpr unsigned seed = 4242;
    TemporaryCurrentDir dir;
    QVERIFY(dir.isValid());
    writeTargetPictures({0, 1, 3}); // pic2.jpg is missing: now and then the fallback stands in
    Program program;
    FrmMain &main = program.start();
    QTimer *tmr1 = Program::control<QTimer>(main, u"tmr1"_s);
    holdTimer(tmr1);

    std::mt19937 chance(seed);
    const auto oneIn = [&chance](unsigned n) {
        return chance() % n == 0;
    };
    const auto click = [&main](QPoint client) {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {},
                          main.centralWidget()->mapTo(&main, client));
    };
    const auto pressStart = [&]() -> FrmStart & {
        Program::clickButton(main, u"cmdStart"_s);
        FrmStart &countdown = program.forms.frmStart();
        holdTimer(Program::control<QTimer>(countdown, u"tmrStart"_s));
        return countdown;
    };
    const auto start = [&] {
        if (oneIn(2)) {
            main.Start();
            return;
        }
        FrmStart &countdown = pressStart();
        for (int second = 5; second > 0; --second)
            Program::tick(countdown, u"tmrStart"_s);
    };
    const auto targets = [&main] {
        QList<PictureBox *> visible;
        for (PictureBox *hole : main.findChildren<PictureBox *>(QRegularExpression(u"^picHole_"_s)))
            if (!hole->isHidden())
                visible.append(hole);
        return visible;
    };

    int hits = 0;
    int misses = 0;
    qint64 settled = -1;
    std::optional<WarningLog> warnings(std::in_place);
    for (int wave = 1; wave <= waves; ++wave) {
        if (oneIn(8)) {
            // The countdown closed before it reaches 0 is unloaded, and built afresh next time.
            QVERIFY(pressStart().close());
            Program::settle();
            QVERIFY(!program.forms.isCountdownLoaded());
        }
        start();
        QVERIFY(tmr1->isActive());
        for (int tick = 1; tick <= Wave::ticksPerWave; ++tick) {
            const QList<PictureBox *> visible = targets();
            QVERIFY2(!visible.isEmpty(), qPrintable(u"no target in wave %1"_s.arg(wave)));
            if (oneIn(2)) {
                click(visible.first()->pos() + QPoint(4, 4));
                ++hits;
            }
            if (oneIn(3)) {
                click({35, 150}); // the field, left of every hole
                ++misses;
            }
            if (tick < Wave::ticksPerWave && oneIn(60)) {
                start(); // a second target stands until the next tick
                QCOMPARE(targets().size(), 2);
            }
            Program::tick(main, u"tmr1"_s);
        }
        QVERIFY2(!tmr1->isActive(), qPrintable(u"wave %1 did not end"_s.arg(wave)));
        QVERIFY(targets().isEmpty());
        QCOMPARE(Program::text(main, u"lblOut"_s).toInt(), hits);
        QCOMPARE(Program::text(main, u"lblMiss"_s).toInt(), misses);
        const int precision = hits + misses == 0 ? 0 : 100 * hits / (hits + misses);
        QCOMPARE(Program::text(main, u"lblTotal"_s), QString::number(precision) + u'%');

        if (oneIn(10)) {
            main.findChild<QAction *>(u"mnuNew"_s)->trigger();
            hits = misses = 0;
        }
        if (oneIn(8)) {
            main.findChild<QAction *>(u"mnuAbout"_s)->trigger();
            QVERIFY(program.forms.isAboutLoaded());
            Program::clickButton(program.forms.frmAbout(), u"cmdOk"_s);
            Program::settle();
            QVERIFY(!program.forms.isAboutLoaded());
        }
        // What the test's own helpers record must not pass for growth of the program's.
        program.loader.clear();
        program.random.clearLog();
        Program::settle();
        if (wave == settledAfter)
            settled = memoryInUse();
    }
    const qint64 growth = memoryInUse() - settled;

    // The missing picture is named once in the whole run, and nothing else is said.
    const QHash<QString, int> named = warnings->countsPerFile();
    const QStringList messages = warnings->messages();
    warnings.reset(); // lets qInfo through again
    QVERIFY2(named == (QHash<QString, int> {{u"pix/pic2.jpg"_s, 1}}),
             qPrintable(messages.join(u'\n')));
    if (settled < 0)
        QSKIP("this system does not report the process's resident memory");
    qInfo("seed %u: %s after wave %d %s, after wave %d %s", seed, measure, settledAfter,
          qPrintable(mebibytes(settled)), waves, qPrintable(mebibytes(settled + growth)));
    QVERIFY2(growth <= 2 * 1024 * 1024, "memory crept up from wave to wave");
}

VARKOZ_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
