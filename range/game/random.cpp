#include "random.h"

#include <chrono>

ClockSeededRandom::ClockSeededRandom()
{
    reseed();
}

void ClockSeededRandom::reseed()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto wide = static_cast<unsigned long long>(ticks);
    std::seed_seq seed {static_cast<unsigned>(wide), static_cast<unsigned>(wide >> 32)};
    m_engine.seed(seed);
}

float ClockSeededRandom::next()
{
    constexpr float unit = 1.0f / (1u << 24);
    return static_cast<float>(m_engine() >> 8) * unit;
}
