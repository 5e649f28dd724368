#include "draws.h"

#include "random.h"

#include <cmath>

namespace Draws {

qint16 roundHalfEven(float value)
{
    // nearbyint rounds in the current rounding mode, which is to nearest with ties to even
    // unless someone changed it; qRound and std::round would send ties away from zero.
    return static_cast<qint16>(std::nearbyint(value));
}

qint16 holeFor(float r)
{
    return roundHalfEven(r * 8.0f);
}

qint16 pictureFor(float r, qint16 pictureCount)
{
    return roundHalfEven(static_cast<float>(pictureCount - 1) * r);
}

qint16 pickHole(RandomSource &random, qint16 lastHole)
{
    qint16 hole = holeFor(random.next());
    while (hole == lastHole)
        hole = holeFor(random.next());
    return hole;
}

qint16 pickPicture(RandomSource &random, qint16 pictureCount)
{
    random.reseed();
    return pictureFor(random.next(), pictureCount);
}

} // namespace Draws
