#pragma once

#include <QString>
#include <QtGlobal>

// The target pictures: files pix/pic0.jpg, pix/pic1.jpg and so on in the current directory.
// They are counted once, when the main window loads; numbers 0 to the count less one are then
// taken to be valid, whether or not the numbering has gaps.
namespace PictureSet {

// How many names are looked at: pic0.jpg to pic20.jpg.
inline constexpr int namesLookedAt = 21;

// "pix/pic12.jpg", relative to the current directory, with the platform's separator.
QString fileName(int number);

// How many of the names pic0.jpg to pic20.jpg are regular files (a folder, a pipe, a device or
// a broken link is none).
qint16 count();

} // namespace PictureSet
