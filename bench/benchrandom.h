#pragma once

#include "random.h"

#include <random>

// Chance the benchmark steers: every value it gives draws the hole it was last steered to (and,
// with one target picture, picture 0). A hole draw that equals the wave's last hole is drawn
// again for ever, so steer to a different hole before each tick.
class SteeredRandom final : public RandomSource
{
public:
    void steerToHole(int hole) { m_value = static_cast<float>(hole) / 8.0f; }

    void reseed() override { }
    float next() override { return m_value; }

private:
    float m_value = 0.5f;
};

// Chance that runs the same way in every run: a Mersenne twister with a fixed seed that the
// game's re-seeds leave alone.
class FixedSeedRandom final : public RandomSource
{
public:
    void reseed() override { }
    float next() override
    {
        constexpr float unit = 1.0f / (1u << 24);
        return static_cast<float>(m_engine() >> 8) * unit;
    }

private:
    std::mt19937 m_engine {20261206};
};
