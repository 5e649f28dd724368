// Takes the README's picture: the main window during a wave, with a fireball, a bullet hole and an
// earlier wave's score. Run under an X server (screenshot.sh) in the folder that holds pix/; it
// writes wave.png into the folder named on its command line.

#include "accessibility.h"
#include "dialogfont.h"
#include "forms.h"
#include "frmmain.h"
#include "scriptedrandom.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTest>

namespace {

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

    ScriptedRandom random; // unscripted: the same draws in every run
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
        forms.game().tick();
    }

    // This wave: a few jumps in, one hit and one miss.
    main.Start();
    for (int step = 0; step < 3; ++step)
        forms.game().tick();
    const QList<int> standing = targets(main);
    click(main,
          main.findChild<QWidget *>(QStringLiteral("picHole_%1").arg(standing.first()))
              ->geometry()
              .center());
    main.Start(); // a second target joins, as after a Start during a wave
    click(main, QPoint(124, 172)); // in the gap between holes 3 and 4
    return shoot(main).save(out.filePath(QStringLiteral("wave.png"))) ? 0 : 1;
}
