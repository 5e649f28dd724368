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
