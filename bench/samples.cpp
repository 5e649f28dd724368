#include "samples.h"

#include <algorithm>

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    const double below = *std::max_element(values.begin(), middle);
    return (below + *middle) / 2.0;
}

void PairedSamples::add(benchmark::State &state, double measuredMicroseconds,
                        double floorMicroseconds)
{
    m_measured.push_back(measuredMicroseconds);
    m_floor.push_back(floorMicroseconds);
    state.SetIterationTime(measuredMicroseconds / 1e6);
}

void PairedSamples::report(benchmark::State &state, const char *extraName) const
{
    state.counters["us"] = median(m_measured);
    state.counters["floor_us"] = median(m_floor);
    // Each pair ran within microseconds of each other, so its ratio is free of the machine's
    // slower and faster spells; the median of those ratios is the figure to go by.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < m_measured.size(); ++i) {
        if (m_floor[i] > 0)
            ratios.push_back(m_measured[i] / m_floor[i]);
    }
    state.counters["ratio"] = median(ratios);
    if (extraName && !m_extra.empty())
        state.counters[extraName] = median(m_extra);
}
