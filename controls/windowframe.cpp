#include "windowframe.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                    screen->availableGeometry())
                    .topLeft());
}

bool windowSystemLeavesFramesToPrograms()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        && qEnvironmentVariableIntValue("QT_WAYLAND_DISABLE_WINDOWDECORATION") == 0;
}
