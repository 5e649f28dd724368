#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

// The median of the values; 0 for none.
double median(std::vector<double> values);

// Microseconds that one call of the function takes, on the steady clock.
template<class Function>
double microsecondsOf(Function &&function)
{
    const auto start = std::chrono::steady_clock::now();
    function();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

// A measured operation and its floor, timed alternately within one benchmark, one sample of
// each per iteration. Medians keep a busy machine's outliers out of the figures.
class PairedSamples
{
public:
    // Times the measured operation and its floor once each and records the pair. They take
    // turns at going first, so that neither always finds the caches warm.
    template<class Measured, class Floor>
    void measure(benchmark::State &state, Measured &&measured, Floor &&floor)
    {
        double measuredTime = 0;
        double floorTime = 0;
        if (m_measured.size() % 2 == 0) {
            floorTime = microsecondsOf(floor);
            measuredTime = microsecondsOf(measured);
        } else {
            measuredTime = microsecondsOf(measured);
            floorTime = microsecondsOf(floor);
        }
        add(state, measuredTime, floorTime);
    }

    // Records one iteration; the measured time is also the iteration's time for the benchmark.
    void add(benchmark::State &state, double measuredMicroseconds, double floorMicroseconds);
    // An extra figure of each iteration, reported as its median under the name.
    void addExtra(double microseconds) { m_extra.push_back(microseconds); }

    // Counters: us (the measured median), floor_us (the floor's), ratio (the median of the
    // iterations' ratios) and, where extras were added, their median under extraName.
    void report(benchmark::State &state, const char *extraName = nullptr) const;

private:
    std::vector<double> m_measured;
    std::vector<double> m_floor;
    std::vector<double> m_extra;
};
