#pragma once

#include <QSize>
#include <QString>

// Row 5: peak resident memory of the game after a number of waves against a bare window of its
// size, each in a process of its own, and how much the game's heap and resident memory grow per
// wave: while it warms up and then in a steady stretch of many more waves.
struct MemoryUse
{
    double gamePeakMiB = 0;
    double barePeakMiB = 0;
    int peakAfterWaves = 0;

    struct Growth
    {
        int fromWave = 0;
        int toWave = 0;
        double residentKiBPerWave = 0;
        double heapBytesPerWave = 0;
    };
    Growth warmUp;
    Growth steady;
    QString error;
};

// Runs the memory probe beside the benchmark in the folder, the game's current directory: the
// peak is read after peakAfterWaves waves, the growth from there to twice as many (warming up)
// and on to four times as many (steady).
MemoryUse measureMemory(const QString &folder, QSize windowSize, int peakAfterWaves);
