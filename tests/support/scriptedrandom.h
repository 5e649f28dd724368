#pragma once

#include "random.h"

#include <QList>

#include <random>

// Chance as a test or a benchmark scripts it, counting draws and re-seeds; past the script, a
// sequence with a fixed seed, the same in every run.
class ScriptedRandom final : public RandomSource
{
public:
    void push(std::initializer_list<float> values) { m_script.append(values); }
    void reseed() override { ++reseeds; }
    float next() override
    {
        ++draws;
        return m_script.isEmpty() ? static_cast<float>(m_fallback() >> 8) / (1u << 24)
                                  : m_script.takeFirst();
    }

    int reseeds = 0;
    int draws = 0;

private:
    QList<float> m_script;
    std::mt19937 m_fallback {20261206};
};
