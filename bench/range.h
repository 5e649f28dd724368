#pragma once

#include "frmmain.h"
#include "game.h"
#include "pictureloader.h"
#include "pictureset.h"
#include "scriptedrandom.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

class CaptionFrame;
class PictureBox;

// Paints and flushes what is due on screen now, as the event loop would before it waits.
void drawPendingFrames();
// Shows the window and handles events until its first frame is painted.
void showAndPaint(QWidget &window);

// A temporary folder of target pictures, pix/pic0.jpg onwards, and the game's main window shown
// over them, its chance steered; the benchmark holds the wave timer (main.cpp) and delivers the
// ticks. Enter the range before using it, as the game reads its pictures from the current
// directory.
class Range
{
public:
    enum class Encoding { Baseline, Progressive };

    // Writes count JPEG pictures of the size, each different, with the detail of a photo, and
    // shows the window, a target standing in the middle hole once its picture is ready.
    Range(QSize pictureSize, int count, Encoding encoding = Encoding::Baseline);

    void enter() const { QDir::setCurrent(path()); }
    QString path() const { return m_dir.path(); }
    QString filePath(int number) const { return m_dir.filePath(PictureSet::fileName(number)); }
    // A new modification time, a second after the last one given: as if the file were replaced.
    bool touch(int number);

    FrmMain &window() { return *m_window; }
    Game &game() const { return m_window->game(); }
    PictureBox &hole(int index) const;
    CaptionFrame &field() const;

    // Leaves the one target standing and shown in the hole, with ticks to spare in the wave,
    // and paints the frame. A target goes there with a tick, or with a new wave.
    void standTargetIn(int hole);
    void endWave(int avoidedHole = -1); // ticks to the end, never to the hole avoided
    void startWave(); // Start
    // The next tick's target goes to the hole (not the last one) with the pictures, one each
    // time the tick's loop places it.
    void steer(int hole, const QList<int> &pictures = {});
    void tick(); // the handler of tmr1's timeout
    bool waitUntilShown(int hole); // handles events for ten seconds at most

private:
    QTemporaryDir m_dir;
    QDateTime m_lastTouch = QDateTime::currentDateTime();
    ScriptedRandom m_random;
    DiskPictureLoader m_loader;
    std::unique_ptr<FrmMain> m_window;
};
