#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

// Windows icon (.ico) and cursor (.cur) files, written here because no library at hand writes
// them as the game ships them: Qt stores every icon image at 32 bits, ImageMagick picks the depth
// from the colours used and writes cursors without a hot spot.

// One image of such a file: the colour ("XOR") bitmap at 1, 4 or 8 bits a pixel with its
// palette, and the 1-bit transparency ("AND") mask.
struct IconImage
{
    QImage colours; // Format_Indexed8; the file pads its colour table with black
    QImage mask; // 1 = transparent, or inverting the screen under a light colour
    int bitCount = 8;
};

// Turns a painted picture into an icon image. Pixels at least half opaque take the nearest colour
// of `colours`; the others become transparent, with index 0 under a set mask bit, so the first
// colour must be black.
IconImage toIconImage(const QImage &picture, int bitCount, const QList<QRgb> &colours);

void writeIconFile(const QString &path, const QList<IconImage> &images);
void writeCursorFile(const QString &path, const IconImage &image, QPoint hotSpot);
