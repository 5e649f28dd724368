// A whole wave as a player has it, with the real timers and real clicks: the Start button, the
// countdown, twenty jumps of the target with hits and misses, and the precision at the end.
#include "support/testing.h"

#include "forms.h"
#include "frmmain.h"
#include "frmstart.h"
#include "picturebox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

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
    writeTargets({0, 1, 2, 3, 4});
    ClockSeededRandom random;
    const DiskPictureLoader loader;
    Forms forms(random, loader);
    FrmMain &main = forms.frmMain();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QWidget *client = main.centralWidget();
    const auto click = [&](QPoint point) {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, client->mapTo(&main, point));
    };
    const auto label = [&](const QString &name) {
        return main.findChild<QLabel *>(name)->text();
    };
    QWidget *field = main.findChild<QWidget *>(u"fraField"_s);

    QElapsedTimer clock;
    clock.start();
    click(main.findChild<QWidget *>(u"cmdStart"_s)->geometry().center());
    QVERIFY(main.findChild<FrmStart *>()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(field->isEnabled(), 10000);
    const qint64 waveBegan = clock.elapsed();
    QVERIFY2(waveBegan >= 4990, qPrintable(QString::number(waveBegan)));

    // Shoot once at each target in the left and middle columns, and miss in a gap now and then.
    int hits = 0;
    int misses = 0;
    PictureBox *last = nullptr;
    while (field->isEnabled() && clock.elapsed() < waveBegan + 30000) {
        for (PictureBox *hole :
             main.findChildren<PictureBox *>(QRegularExpression(u"picHole_"_s))) {
            if (hole->isVisible() && hole != last) {
                last = hole;
                if (hole->x() < 200) {
                    click(hole->geometry().center());
                    ++hits;
                } else {
                    click({124, 200});
                    ++misses;
                }
            }
        }
        QTest::qWait(20);
    }
    QVERIFY(!field->isEnabled());
    QVERIFY2(clock.elapsed() - waveBegan >= 11990, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(hits + misses >= 15);
    QCOMPARE(label(u"lblOut"_s), hits ? QString::number(hits) : QString());
    QCOMPARE(label(u"lblMiss"_s), misses ? QString::number(misses) : QString());
    QCOMPARE(label(u"lblTotal"_s), u"%1%"_s.arg(100 * hits / (hits + misses)));
}

QTEST_MAIN(TestFullWave)
#include "tst_fullwave.moc"
