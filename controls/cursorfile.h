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

// A mouse pointer made from a cursor file: its picture through Qt's reader, its hot spot from
// the file itself, since Qt reads the picture but not the hot spot. A file that cannot be read
// gives the ordinary arrow.
QCursor load(const QString &fileName);

} // namespace CursorFile
