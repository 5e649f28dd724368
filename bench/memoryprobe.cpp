// Resident memory of one program, printed on standard output for the benchmark to read:
//   varkoz_benchmemory game <waves> <peak after> the game's main window playing that many waves
//   varkoz_benchmemory bare <width> <height>     a bare main window of that size, painted
// Lines: "wave <n> <resident KiB> <heap bytes in use>" after each wave, "peak <KiB>" once the
// game has played the waves its third argument names (the bare window: once it is painted).
// The game reads its target pictures from the current directory, as it always does.
#include "benchrandom.h"
#include "firstframe.h"
#include "procstatus.h"

#include "captionframe.h"
#include "dialogfont.h"
#include "forms.h"
#include "picturebox.h"
#include "pictureset.h"
#include "wave.h"

#include <QApplication>
#include <QMainWindow>
#include <QMetaMethod>
#include <QTextStream>
#include <QTimer>

namespace {

// Plays waves through the handlers, with a hit and a miss every tick and every frame drawn.
// The ticks are driven here instead of waited for.
class WavePlayer
{
public:
    explicit WavePlayer(FrmMain &window)
        : m_window(window),
          m_timer(*window.findChild<QTimer *>(QStringLiteral("tmr1"))),
          m_field(*window.findChild<CaptionFrame *>(QStringLiteral("fraField")))
    {
        for (int index = 0; index < 9; ++index)
            m_holes.append(window.findChild<PictureBox *>(QStringLiteral("picHole_%1").arg(index)));
    }

    void playWave()
    {
        m_window.Start();
        m_timer.stop();
        for (int tick = 0; tick < Wave::ticksPerWave; ++tick) {
            for (PictureBox *hole : std::as_const(m_holes)) {
                if (!hole->isHidden()) {
                    emit hole->clicked();
                    break;
                }
            }
            emit m_field.pressed(Qt::LeftButton, Qt::NoModifier, QPointF(4, 20 + tick));
            drawPendingFrames();
            m_timeout.invoke(&m_timer, Qt::DirectConnection);
            drawPendingFrames();
        }
    }

private:
    FrmMain &m_window;
    QTimer &m_timer;
    CaptionFrame &m_field;
    QList<PictureBox *> m_holes;
    QMetaMethod m_timeout = QMetaMethod::fromSignal(&QTimer::timeout);
};

int playGame(int waves, int peakAfter)
{
    useDialogFonts();
    FixedSeedRandom random;
    const DiskFileLookup files;
    DiskPictureLoader pictures;
    Forms forms({random, files, pictures});
    FrmMain &window = forms.frmMain();
    if (!showUntilFirstFrame(window))
        return 1;
    WavePlayer player(window);
    QTextStream out(stdout);
    for (int wave = 1; wave <= waves; ++wave) {
        player.playWave();
        out << "wave " << wave << ' ' << ProcStatus::residentKiB() << ' '
            << ProcStatus::heapInUseBytes() << Qt::endl;
        if (wave == peakAfter)
            out << "peak " << ProcStatus::peakResidentKiB() << Qt::endl;
    }
    return 0;
}

int showBareWindow(QSize size)
{
    QMainWindow window;
    window.resize(size);
    if (!showUntilFirstFrame(window))
        return 1;
    drawPendingFrames();
    QTextStream(stdout) << "peak " << ProcStatus::peakResidentKiB() << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.value(1) == u"game")
        return playGame(arguments.value(2).toInt(), arguments.value(3).toInt());
    if (arguments.value(1) == u"bare")
        return showBareWindow({arguments.value(2).toInt(), arguments.value(3).toInt()});
    QTextStream(stderr)
        << "usage: varkoz_benchmemory game <waves> <peak after> | bare <width> <height>"
        << Qt::endl;
    return 2;
}
