#pragma once

#include <QColor>
#include <QPalette>

// The named system colours the windows use, and the one place where each becomes a colour of
// the platform's palette at run time:
//   Menu            the colour behind menus: the Window colour of the palette Qt gives menus;
//   InactiveBorder  the face of an inactive window's border: the palette's Button colour (the
//                   three-dimensional face colour, which the classic desktop themes share with
//                   their inactive borders).
enum class SystemColour { Menu, InactiveBorder };

QColor systemColour(SystemColour colour);

// A copy of the palette with the Window role, in every colour group, set to the system colour.
QPalette withWindowColour(QPalette palette, SystemColour colour);

// The contrast of two colours as accessibility guidelines measure it, from 1 (none) to 21.
qreal contrast(const QColor &one, const QColor &other);

// The colour for text on the background: the preferred one where it reads (a contrast of 4.5 to
// 1 at least), otherwise black or white, whichever reads better. A theme's dark colours may put
// a fixed text colour, or a fixed background, out of sight.
QColor readableOn(const QColor &background, const QColor &preferred);
