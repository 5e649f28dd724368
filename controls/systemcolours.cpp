#include "systemcolours.h"

#include <QApplication>

QColor systemColour(SystemColour colour)
{
    switch (colour) {
    case SystemColour::Menu:
        return QApplication::palette("QMenu").color(QPalette::Active, QPalette::Window);
    case SystemColour::InactiveBorder:
        return QApplication::palette().color(QPalette::Active, QPalette::Button);
    }
    Q_UNREACHABLE();
}

QPalette withWindowColour(QPalette palette, SystemColour colour)
{
    palette.setColor(QPalette::Window, systemColour(colour));
    return palette;
}
