#pragma once

#include "quantize.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// Encodes a single-frame GIF89a picture: the palette (2, 4, ..., 256 colours) becomes the global
// colour table and the pixels (palette indices, top row first) are LZW-compressed. No
// transparency, no animation, nothing that varies between runs.
QByteArray encodeGif(int width, int height, const Palette &palette,
                     const std::vector<uint8_t> &indices);
