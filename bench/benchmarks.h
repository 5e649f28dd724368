#pragma once

#include <vector>

class TargetFolder;

// The in-process benchmarks, registered with Google Benchmark under the names the result
// table reads.

// "tick/<w>x<h>/one_load" and ".../two_loads" for each folder's picture size.
void registerTickBenchmarks(const std::vector<const TargetFolder *> &folders);

// "hit/handler", "hit/mouse", "miss/handler", "miss/mouse", over a folder of 81 x 81 targets.
void registerShotBenchmarks(const TargetFolder *folder);

// "startup/window", over a folder of sample targets.
void registerStartupBenchmarks(const TargetFolder *folder);
