#pragma once

#include <QString>

#include <vector>

class TargetFolder;

// Row 4: real waves under the running event loop, the wave timer firing on its own. Each tick's
// interval is compared with 600 ms (the first from Start); the wave's length runs from the
// call of Start to its twentieth tick.
struct WaveTimings
{
    std::vector<double> tickDeviationsMs; // interval less 600 ms, every tick of every wave
    std::vector<double> waveLengthsMs;
    QString error;

    double medianAbsoluteDeviationMs() const;
    double maximumAbsoluteDeviationMs() const;
    double worstWaveErrorMs() const; // the largest |length - 12000 ms|
};

// Plays `waves` waves one after another over the folder's pictures. With busyCores, a thread
// spins on every core but one for as long as the waves run.
WaveTimings timeRealWaves(const TargetFolder &folder, int waves, bool busyCores);
