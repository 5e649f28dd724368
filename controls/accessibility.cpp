#include "accessibility.h"

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
    if (className == QLatin1String("FixedWindow"))
        return new QAccessibleWidget(static_cast<FixedWindow *>(object), QAccessible::Window);
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
