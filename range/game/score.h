#pragma once

// Hits as a whole percentage of all shots, the fraction dropped: 2 of 3 is 66. Computed in whole
// numbers, so that 57 of 100 is 57 and not a hair below it. With no shot at all it is 0.
int precisionPercent(int hits, int misses);
