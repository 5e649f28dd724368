#pragma once

#include <QStringList>

class HeldTimers;
class Range;

// The rows, under the names that tools/bench-table.py reads: in this process, tick/..., photo/...,
// {hit,miss}/{signal,mouse} and timing/... (which lets its range's held wave timer fire for its
// real waves);
void registerRangeBenchmarks(Range &small, Range &medium, Range &baseline, Range &progressive,
                             Range &samples, HeldTimers &held);
// startup and memory, of whole processes.
void registerProcessBenchmarks(Range &samples);

// The memory row's probe: the benchmark started again with --memory-probe game <n>, or bare
// <width> <height>. Prints what it measured.
int runMemoryProbe(const QStringList &arguments);
