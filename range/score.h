#pragma once

#include <QString>
#include <QStringView>

// The score lives in captions: the hits, the misses and the precision.
namespace Score {

// The caption of a count after one more: an empty caption counts as 0, so the first makes "1".
QString addOne(QStringView countCaption);

// Hits as a whole percentage of all shots, the fraction dropped: 2 of 3 is 66. Computed in whole
// numbers, so that 57 of 100 is 57 and not a hair below it. With no shot at all it is 0.
int precisionPercent(double hits, double misses);

// The precision caption from the two count captions, as "66%".
QString precisionText(QStringView hitsCaption, QStringView missesCaption);

} // namespace Score
