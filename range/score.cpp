#include "score.h"

#include "numerictext.h"

#include <cmath>

namespace Score {

QString addOne(QStringView countCaption)
{
    return NumericText::plain(NumericText::parseLenient(countCaption) + 1);
}

int precisionPercent(double hits, double misses)
{
    const double shots = hits + misses;
    if (!(shots > 0) || !(hits > 0))
        return 0;
    // Counts are whole numbers far below 2^53; in whole numbers 100 x hits / shots is exact.
    constexpr double exactLimit = 9007199254740992.0 / 100; // 2^53 / 100
    if (hits == std::trunc(hits) && shots == std::trunc(shots) && shots < exactLimit) {
        const auto wholeHits = static_cast<qint64>(hits);
        const auto wholeShots = static_cast<qint64>(shots);
        return static_cast<int>(100 * wholeHits / wholeShots);
    }
    return static_cast<int>(std::trunc(100.0 * hits / shots));
}

QString precisionText(QStringView hitsCaption, QStringView missesCaption)
{
    const int percent = precisionPercent(NumericText::parseLenient(hitsCaption),
                                         NumericText::parseLenient(missesCaption));
    return QString::number(percent) + u'%';
}

} // namespace Score
