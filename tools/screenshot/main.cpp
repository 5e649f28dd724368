// Takes the README's picture of the game: the main window during a wave, with a fireball where
// a target was hit, a bullet hole where a shot missed and the score of an earlier wave. Run it
// under an X server (screenshot.sh beside it starts one) in the folder that holds pix/; it writes
// wave.png into the folder named on its command line.

#include "accessibility.h"
#include "dialogfont.h"
#include "forms.h"
#include "frmmain.h"
#include "random.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <random>

namespace {

// Chance with a fixed seed, so that every run takes the same pictures.
class FixedRandom final : public RandomSource
{
public:
    void reseed() override { }
    float next() override { return static_cast<float>(m_engine() >> 8) / (1u << 24); }

private:
    std::mt19937 m_engine {1440};
};

// The window with its frame as the screen shows it, with a small margin.
QImage shoot(const QWidget &window)
{
    QApplication::processEvents();
    QTest::qWait(300);
    const QRect frame = window.frameGeometry().adjusted(-4, -4, 4, 4);
    return window.screen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .toImage();
}

QList<int> targets(const FrmMain &main)
{
    QList<int> holes;
    for (int index = 0; index < 9; ++index)
        if (!main.findChild<QWidget *>(QStringLiteral("picHole_%1").arg(index))->isHidden())
            holes.append(index);
    return holes;
}

void click(FrmMain &main, QPoint client)
{
    QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {},
                      main.centralWidget()->mapTo(&main, client));
}

void tick(const QWidget &window, const char *timer)
{
    QMetaObject::invokeMethod(window.findChild<QTimer *>(QLatin1String(timer)), "timeout",
                              Qt::DirectConnection);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useDialogFonts();
    installAccessibility();
    if (argc != 2) {
        qCritical("usage: varkoz_screenshot <folder for the pictures>");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    FixedRandom random;
    Forms forms(random);
    FrmMain &main = forms.frmMain();
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    // The sample targets are read ahead, as during a countdown.
    QTest::qWait(1000);

    // An earlier wave leaves its precision: two hits of three shots.
    main.Start();
    for (int step = 0; step < 20; ++step) {
        if (step == 2 || step == 5)
            click(main,
                  main.findChild<QWidget *>(QStringLiteral("picHole_%1").arg(targets(main).first()))
                      ->geometry()
                      .center());
        if (step == 7)
            click(main, QPoint(124, 172));
        tick(main, "tmr1");
    }

    // This wave: a few jumps in, one hit and one miss.
    main.Start();
    for (int step = 0; step < 3; ++step)
        tick(main, "tmr1");
    const QList<int> standing = targets(main);
    click(main,
          main.findChild<QWidget *>(QStringLiteral("picHole_%1").arg(standing.first()))
              ->geometry()
              .center());
    main.Start(); // a second target joins, as after a Start during a wave
    click(main, QPoint(124, 172)); // in the gap between holes 3 and 4
    return shoot(main).save(out.filePath(QStringLiteral("wave.png"))) ? 0 : 1;
}
