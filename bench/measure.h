#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

// Microseconds that one call of the function takes, on the steady clock.
template<class Function>
double microsecondsOf(Function &&function)
{
    const auto start = std::chrono::steady_clock::now();
    function();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

// Makes each run of the benchmark one iteration, one sample, repeated that many times, so that
// Google Benchmark's aggregates (the median among them) are taken over the samples.
inline void sampled(benchmark::internal::Benchmark *benchmark, int samples,
                    benchmark::TimeUnit unit)
{
    benchmark->Iterations(1)->Repetitions(samples)->ReportAggregatesOnly();
    benchmark->UseManualTime()->Unit(unit);
}

// A sample of a hot path and one of its floor, in an iteration of a sampled benchmark, as the
// counters us, floor_us and ratio: the median ratio is then free of the machine's slow and fast
// spells. Samples take turns at going first, so that neither always finds the caches warm.
// `settle`, untimed, comes right after the hot path. Returns the hot path's time.
template<class Measured, class Floor, class Settle>
double timeAgainstFloor(benchmark::State &state, Measured &&measured, Floor &&floor,
                        Settle &&settle)
{
    static bool floorFirst = false;
    floorFirst = !floorFirst;
    double floorTime = floorFirst ? microsecondsOf(floor) : 0;
    const double measuredTime = microsecondsOf(measured);
    settle();
    if (!floorFirst)
        floorTime = microsecondsOf(floor);
    state.SetIterationTime(measuredTime / 1e6);
    state.counters["us"] = measuredTime;
    state.counters["floor_us"] = floorTime;
    state.counters["ratio"] = measuredTime / floorTime;
    return measuredTime;
}
