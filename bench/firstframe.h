#pragma once

#include <QObject>

class QWidget;

// Notices the first paint of a top-level widget. Installed on the application it watches every
// window; installed on one widget, only that one.
class FirstFrameWatcher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool painted() const { return m_painted; }
    void reset() { m_painted = false; }

signals:
    // A top-level widget is being painted for the first time since the last reset; its frame
    // reaches the screen when the paint that is under way returns.
    void firstPaint();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_painted = false;
};

// Shows the window and handles events until its first frame is painted and flushed. False if
// no frame came within a few seconds.
bool showUntilFirstFrame(QWidget &window);

// Paints and flushes what is due on screen now, as the event loop would before it waits.
void drawPendingFrames();
