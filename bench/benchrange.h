#pragma once

#include "benchrandom.h"

#include "frmmain.h"
#include "pictureset.h"

#include <QMetaMethod>

#include <memory>

class CaptionFrame;
class PictureBox;
class QTimer;

// A shown main window over the current directory's pictures, its chance steered, its controls
// found by name, its handlers reachable as the toolkit reaches them.
class BenchRange
{
public:
    BenchRange();
    ~BenchRange();

    FrmMain &window() { return *m_window; }
    SteeredRandom &random() { return m_random; }
    PictureBox &hole(int index) const;
    CaptionFrame &field() const;

    // Leaves exactly one target standing, in the given hole, and draws the frame.
    void standTargetIn(int hole);
    // Writes a score into the captions as a game under way shows it, and draws the frame.
    void showScore(const QString &hits, const QString &misses, const QString &precision);
    // One timeout of tmr1, delivered as the timer delivers it.
    void tick();
    // A point of the hole's centre, in the coordinates of the window's QWindow.
    QPoint holeCentreInWindow(int index) const;

private:
    SteeredRandom m_random;
    DiskFileLookup m_files;
    DiskPictureLoader m_loader;
    std::unique_ptr<FrmMain> m_window;
    QTimer *m_timer = nullptr;
    QMetaMethod m_timeout;
};
