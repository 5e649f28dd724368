// Linked into whole programs for the start-up row: the program quits once a window has painted
// its first frame. It hooks in as the application object is made; main() stays as it is.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace {

class QuitAfterFirstFrame : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            qApp->removeEventFilter(this);
            // Queued, so that the frame under way is finished and flushed first.
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }
};

void quitAfterFirstFrame()
{
    qApp->installEventFilter(new QuitAfterFirstFrame(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(quitAfterFirstFrame)
