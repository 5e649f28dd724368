#pragma once

#include <random>

// The game's source of chance: uniform single-precision values in [0, 1), re-seeded from the
// clock where the game asks for it. Tests put a scripted source in its place.
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    // Starts a fresh sequence seeded from the clock.
    virtual void reseed() = 0;

    // The next value, uniform in [0, 1).
    virtual float next() = 0;
};

// The random source of the running game: a Mersenne twister seeded from a high-resolution
// clock. Each value is built from 24 random bits, the precision of a float, so it is never 1.
class ClockSeededRandom final : public RandomSource
{
public:
    ClockSeededRandom();

    void reseed() override;
    float next() override;

private:
    std::mt19937 m_engine;
};
