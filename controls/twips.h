#pragma once

#include <QPointF>

#include <cmath>

// Window coordinates of the game are twips: 1/1440 inch, so 15 twips make one logical pixel at
// 96 dots per inch. Qt scales logical pixels to the screen, which keeps every position exact on
// high-density screens too.
namespace Twips {

inline constexpr int perPixel = 15;

// A position in logical pixels (fractional where the mouse delivers it) as twips.
inline QPointF fromPixels(QPointF pixels)
{
    return pixels * perPixel;
}

// Twips to whole logical pixels, rounded to the nearest pixel.
inline int toPixels(qreal twips)
{
    return static_cast<int>(std::lround(twips / perPixel));
}

} // namespace Twips
