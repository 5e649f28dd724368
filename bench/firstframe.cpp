#include "firstframe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QWidget>

namespace {
constexpr int firstFrameWithinMilliseconds = 5000;
} // namespace

bool FirstFrameWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow()) {
        m_painted = true;
        emit firstPaint();
    }
    return false;
}

bool showUntilFirstFrame(QWidget &window)
{
    FirstFrameWatcher watcher;
    window.installEventFilter(&watcher);
    window.show();
    const QDeadlineTimer deadline(firstFrameWithinMilliseconds);
    // The paint and the flush of the backing store happen in one pass of the event loop.
    while (!watcher.painted() && !deadline.hasExpired())
        QCoreApplication::processEvents();
    window.removeEventFilter(&watcher);
    return watcher.painted();
}

void drawPendingFrames()
{
    // A control that was shown asks for its paint only when its posted events are delivered.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
