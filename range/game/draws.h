#pragma once

#include <QtGlobal>

class RandomSource;

// How random values become holes and picture numbers: scaled in single precision, then rounded
// to the nearest whole number with ties to even. The two end values therefore come half as
// often as each value between them.
namespace Draws {

// The nearest whole number, ties to even (2.5 gives 2, 3.5 gives 4).
qint16 roundHalfEven(float value);

// The hole 0..8 that a value r in [0, 1) stands for.
qint16 holeFor(float r);

// The picture number 0..pictureCount-1 that a value r in [0, 1) stands for.
qint16 pictureFor(float r, qint16 pictureCount);

// A random hole other than lastHole. Draws again, without re-seeding, until it differs.
qint16 pickHole(RandomSource &random, qint16 lastHole);

// A random picture number, drawn after re-seeding from the clock.
qint16 pickPicture(RandomSource &random, qint16 pictureCount);

} // namespace Draws
