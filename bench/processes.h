#pragma once

#include <QSize>
#include <QString>

// Row 3, whole processes: the game (built with the first-frame hook) and a minimal Qt widgets
// program with a bare window of the game's size, each started, painting its first frame and
// quitting, alternately, under the offscreen platform. Times are medians in milliseconds.
struct ProcessStartups
{
    double gameMilliseconds = 0;
    double bareMilliseconds = 0;
    int runs = 0;
    QString error;
};

// Runs each program `runs` times in the folder (the game's current directory), after one
// untimed run of each; the programs are looked for beside the running benchmark.
ProcessStartups measureProcessStartups(const QString &folder, QSize windowSize, int runs);
