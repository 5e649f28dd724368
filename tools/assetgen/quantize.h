#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

// Colour tables for the indexed file formats (ICO, CUR and GIF).
using Palette = std::vector<QRgb>;

// The sixteen colours every Windows display has: the palette of 4-bit icons and cursors.
Palette windowsPalette16();

// Chooses at most maxColours colours that represent the given pixels well (median cut, then a
// few rounds of refinement). The result depends only on the pixels, not on their order.
Palette choosePalette(const std::vector<QRgb> &pixels, int maxColours);

// The index of the palette colour closest to the colour (alpha is ignored).
int nearestIndex(const Palette &palette, QRgb colour);

// Maps every pixel of the image to its nearest palette index, row by row from the top.
std::vector<uint8_t> mapToPalette(const QImage &image, const Palette &palette);
