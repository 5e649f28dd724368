#pragma once

#include <QImage>
#include <QList>
#include <QString>

// What ImageMagick does for the generator: reducing a picture to a few colours, without
// dithering, and writing GIF files. The pictures are taken as opaque.

// The colours, at most `count` of them, that ImageMagick picks to stand for the picture's.
QList<QRgb> reducedColours(const QImage &picture, int count);

// Saves the picture as a single-frame GIF89a of at most `colours` colours.
void saveGif(const QImage &picture, const QString &path, int colours);
