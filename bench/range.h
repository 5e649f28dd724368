#pragma once

#include "frmmain.h"
#include "game.h"
#include "picturefolder.h"
#include "scriptedrandom.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

// Paints and flushes what is due on screen now, as the event loop would before it waits.
void drawPendingFrames();
// Shows the window and handles events until its first frame is painted.
void showAndPaint(QWidget &window);

// A temporary folder of target pictures, pix/pic0.jpg onwards, and the game's main window shown
// over them at the size given (its own by default), its chance steered; the benchmark holds the
// wave timer (main.cpp) and delivers the ticks. Enter the range before using it, as the game
// reads its pictures from the current directory.
class Range
{
public:
    enum class Encoding { Baseline, Progressive };

    // Writes count copies of a JPEG picture of the size, with the detail of a photo, shows the
    // window, waits until the pictures are read for its size, and stands a target in the middle
    // hole.
    Range(QSize pictureSize, int count, Encoding encoding = Encoding::Baseline,
          QSize windowSize = {});

    void enter() const { QDir::setCurrent(path()); }
    QString path() const { return m_dir.path(); }
    QString filePath(int number) const { return m_dir.filePath(PictureFolder::fileName(number)); }

    Encoding encoding() const { return m_encoding; }
    FrmMain &window() const { return *m_window; }
    const Game &game() const { return m_game; }
    PictureFolder &pictures() { return m_pictures; }

    // Leaves the one target standing and shown in the hole, with ticks to spare in the wave,
    // and paints the frame. A target goes there with a tick, or with a new wave.
    void standTargetIn(int hole);
    void endWave(int avoidedHole = -1); // ticks to the end, never to the hole avoided
    // The next target goes to the hole (not the last one), with pictures drawn by chance: every
    // picture of a range is the same.
    void steer(int hole);
    void tick(); // the handler of tmr1's timeout
    bool waitUntilRead(); // until every picture is read for the window's size, a minute at most

private:
    QTemporaryDir m_dir;
    Encoding m_encoding;
    ScriptedRandom m_random;
    PictureFolder m_pictures;
    Game m_game {m_random, m_pictures};
    std::unique_ptr<FrmMain> m_window;
};
