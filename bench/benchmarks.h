#pragma once

#include <QStringList>

#include <memory>
#include <vector>

class HeldTimers;
class Range;

// The rows, under the names that tools/bench-table.py reads: in this process, stall/... on each
// range of photos, drag/..., {hit,miss}/{signal,mouse} and timing/... (which lets its range's
// held wave timer fire for its real waves);
void registerRangeBenchmarks(const std::vector<std::unique_ptr<Range>> &photos, Range &drag,
                             Range &samples, HeldTimers &held);
// startup/..., memory/... and decoding/... (of each picture file), of whole processes.
void registerProcessBenchmarks(const Range &samples, const Range &photos,
                               const QStringList &pictures);

// The memory rows' probe: the benchmark started again with --memory-probe and what to measure.
// Prints what it measured.
int runMemoryProbe(const QStringList &arguments);
