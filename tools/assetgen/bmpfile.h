#pragma once

#include <QByteArray>
#include <QImage>

// Encodes a picture as an uncompressed 24-bit Windows bitmap: BITMAPFILEHEADER,
// BITMAPINFOHEADER (BI_RGB), then the rows bottom-up, each padded to four bytes.
QByteArray encodeBmp24(const QImage &picture);
