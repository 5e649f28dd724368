// A whole wave as a player has it, with real timers and real clicks: the Start button, the
// countdown, twenty jumps of the target, hits and misses, and the precision at the end.
#include "support/program.h"
#include "support/testmain.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFullWave : public QObject
{
    Q_OBJECT

private slots:
    void playOneWave();
};

void TestFullWave::playOneWave()
{
    const TemporaryCurrentDir dir;
    writeTargetPictures({0, 1, 2, 3, 4});
    Program program;
    FrmMain &main = program.start();
    QWidget *client = main.centralWidget();
    const auto *tmr1 = Program::control<QTimer>(main, u"tmr1"_s);
    const auto press = [&](QPoint clientPoint) {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {},
                          client->mapTo(&main, clientPoint));
    };

    // Start, by a real click on the button.
    QElapsedTimer clock;
    clock.start();
    press(Program::control(main, u"cmdStart"_s)->geometry().center());
    QVERIFY(program.forms.isCountdownLoaded());
    FrmStart &countdown = program.forms.frmStart();
    QVERIFY(countdown.isVisible());

    qint64 waveBegan = -1;
    connect(&countdown, &FrmStart::reachedZero, this, [&] { waveBegan = clock.elapsed(); });
    QTRY_VERIFY_WITH_TIMEOUT(tmr1->isActive(), 7000);
    QVERIFY2(waveBegan >= 4950 && waveBegan < 5600, qPrintable(u"%1 ms"_s.arg(waveBegan)));
    QVERIFY(countdown.isHidden());

    // Play: shoot at each new target once, and miss in the gaps between the holes now and then.
    const QList<QPoint> gaps {{124, 64}, {212, 152}, {64, 196}, {168, 108}};
    int hits = 0;
    int misses = 0;
    int lastTarget = -1;
    qint64 waveEnded = -1;
    while (waveEnded < 0 && clock.elapsed() < waveBegan + 14000) {
        QList<int> targets;
        for (int i = 0; i < 9; ++i)
            if (!Program::control(main, u"picHole_%1"_s.arg(i))->isHidden())
                targets.append(i);
        if (targets.size() == 1 && targets.first() != lastTarget) {
            lastTarget = targets.first();
            if (lastTarget % 3 != 2) {
                press(Program::control(main, u"picHole_%1"_s.arg(lastTarget))->geometry().center());
                ++hits;
            } else if (Program::control(main, u"picExplo"_s)->isHidden()) {
                press(gaps.at(misses % gaps.size()));
                ++misses;
            }
        }
        QTest::qWait(1);
        if (!tmr1->isActive())
            waveEnded = clock.elapsed();
    }

    QVERIFY(waveEnded > 0);
    const qint64 length = waveEnded - waveBegan;
    QVERIFY2(length >= 11900 && length < 12500, qPrintable(u"the wave lasted %1 ms"_s.arg(length)));
    QVERIFY(hits > 0);
    QCOMPARE(Program::text(main, u"lblOut"_s), QString::number(hits));
    QCOMPARE(Program::text(main, u"lblMiss"_s), misses ? QString::number(misses) : QString());
    QCOMPARE(Program::text(main, u"lblTotal"_s), u"%1%"_s.arg(100 * hits / (hits + misses)));
    for (int i = 0; i < 9; ++i)
        QVERIFY(Program::control(main, u"picHole_%1"_s.arg(i))->isHidden());
    QVERIFY(!Program::control(main, u"fraField"_s)->isEnabled());
    QCOMPARE(main.wave().tickCount(), 0);
    qInfo("wave of %lld ms after a countdown of %lld ms: %d hits, %d misses", length, waveBegan,
          hits, misses);
}

VARKOZ_TEST_MAIN(TestFullWave)
#include "tst_fullwave.moc"
