// Linked into the benchmark's builds of whole programs: the program quits as soon as its first
// window has painted its first frame, and changes nothing else. It hooks in when the
// application object is created, so the program's own main() stays as it is.
#include "firstframe.h"

#include <QCoreApplication>

namespace {

void quitAfterFirstFrame()
{
    QCoreApplication *application = QCoreApplication::instance();
    auto *watcher = new FirstFrameWatcher(application);
    application->installEventFilter(watcher);
    // Queued, so the frame under way is finished and flushed before the program ends.
    QObject::connect(watcher, &FirstFrameWatcher::firstPaint, application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(quitAfterFirstFrame)
