#pragma once

#include <cstdint>

// A small seeded random number generator (splitmix64). The pictures use it instead of the
// standard distributions so that they come out the same with every compiler and library.
class Rng
{
public:
    explicit Rng(uint64_t seed) : m_state(seed) { }

    uint64_t next()
    {
        uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // A number in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    // A number in [low, high).
    double range(double low, double high) { return low + (high - low) * unit(); }

private:
    uint64_t m_state;
};
