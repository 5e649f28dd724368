#include "score.h"

#include <QtGlobal>

int precisionPercent(int hits, int misses)
{
    const qint64 shots = qint64(hits) + misses;
    return shots > 0 ? static_cast<int>(100 * qint64(hits) / shots) : 0;
}
