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
            QCoreApplication::instance()->removeEventFilter(this);
            // Queued, so that the frame under way is finished and flushed first.
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        }
        return false;
    }
};

void quitAfterFirstFrame()
{
    QCoreApplication *application = QCoreApplication::instance();
    application->installEventFilter(new QuitAfterFirstFrame(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(quitAfterFirstFrame)
