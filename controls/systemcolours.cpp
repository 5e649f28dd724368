#include "systemcolours.h"

#include <QApplication>

#include <cmath>

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

namespace {
qreal relativeLuminance(const QColor &colour)
{
    const auto linear = [](qreal channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}
} // namespace

qreal contrast(const QColor &one, const QColor &other)
{
    const qreal a = relativeLuminance(one);
    const qreal b = relativeLuminance(other);
    return (qMax(a, b) + 0.05) / (qMin(a, b) + 0.05);
}

QColor readableOn(const QColor &background, const QColor &preferred)
{
    constexpr qreal readable = 4.5;
    if (contrast(background, preferred) >= readable)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrast(background, black) >= contrast(background, white) ? black : white;
}
