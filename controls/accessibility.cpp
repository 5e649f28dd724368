#include "accessibility.h"

#include "announcer.h"
#include "captionframe.h"
#include "fixedwindow.h"
#include "picturebox.h"

#include <QAccessibleWidget>

namespace {

class CaptionFrameAccessible final : public QAccessibleWidget
{
public:
    explicit CaptionFrameAccessible(CaptionFrame *frame)
        : QAccessibleWidget(frame, QAccessible::Grouping)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return static_cast<CaptionFrame *>(widget())->title();
        return own;
    }
};

// Qt owns what a factory returns.
QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("PictureBox"))
        return new QAccessibleWidget(static_cast<PictureBox *>(object), QAccessible::Graphic);
    if (className == QLatin1String("CaptionFrame"))
        return new CaptionFrameAccessible(static_cast<CaptionFrame *>(object));
    if (className == QLatin1String("FixedWindow")) {
        auto *window = static_cast<FixedWindow *>(object);
        return new QAccessibleWidget(window,
                                     window->role() == FixedWindow::Role::Dialog
                                         ? QAccessible::Dialog
                                         : QAccessible::Window);
    }
    // An announcer is a status bar, and the bare widget in it its notification: a screen reader
    // reads out a notification of a status bar by its name alone, without its role.
    if (className == QLatin1String("Announcer"))
        return new QAccessibleWidget(static_cast<Announcer *>(object), QAccessible::StatusBar);
    if (className == QLatin1String("QWidget") && qobject_cast<Announcer *>(object->parent()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    Q_UNUSED(installed);
}
