#pragma once

#include <QByteArrayView>
#include <QCursor>
#include <QPoint>
#include <QString>

#include <optional>

namespace CursorFile {

// The hot spot of a Windows cursor file, read from its first directory entry (bytes 4-7 of the
// entry: x, then y, little-endian). Empty when the bytes are not a cursor file.
std::optional<QPoint> hotSpot(QByteArrayView file);

// A mouse pointer made from a cursor file: its picture through Qt's reader (one-bit pictures
// through our own, which keeps their screen-inverting pixels), its hot spot from the file
// itself, since Qt reads the picture but not the hot spot. On platforms that show pointers
// pixel for pixel it is enlarged to the windows' device pixel ratio. A file that cannot be
// read gives the ordinary arrow.
QCursor load(const QString &fileName, qreal devicePixelRatio = 1.0);

// A pointer from a picture and its hot spot, the picture enlarged by the factor (nearest pixel).
QCursor fromPicture(const QImage &picture, QPoint hotSpot, qreal enlargement);

} // namespace CursorFile
