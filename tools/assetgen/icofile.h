#pragma once

#include "quantize.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

// One picture of an icon or cursor file, stored the classic way: a palette, the colour ("XOR")
// bitmap as palette indices and the 1-bit transparency ("AND") mask.
struct IconImage
{
    int width = 0;
    int height = 0;
    int bitCount = 0; // 1, 4 or 8
    Palette palette; // exactly 2^bitCount colours
    std::vector<uint8_t> indices; // width * height palette indices, top row first
    std::vector<uint8_t>
        mask; // width * height, 1 = transparent (or screen-inverting), top row first
    QPoint hotSpot; // used by cursor files only
};

enum class IconFileType : uint16_t { Icon = 1, Cursor = 2 };

// Turns a painted picture into an indexed icon image. Pixels at least half opaque become
// opaque and take the nearest palette colour; the others become transparent (palette index 0,
// which must be black, under a set mask bit).
IconImage toIconImage(const QImage &picture, int bitCount, const Palette &palette);

// Encodes the images as an .ico (type 1) or .cur (type 2) file.
QByteArray encodeIconFile(const std::vector<IconImage> &images, IconFileType type);
