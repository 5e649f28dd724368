#pragma once

#include "random.h"

#include <QList>
#include <QStringList>

#include <random>

// A random source that gives the values a test scripts, in order, and keeps a log of what was
// asked of it. Once the script runs out it goes on with a fixed-seed sequence, so a test that
// scripts only the draws it cares about still runs the same way every time.
class ScriptedRandom final : public RandomSource
{
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(QList<float> values) : m_script(std::move(values)) { }

    void push(std::initializer_list<float> values) { m_script.append(values); }
    qsizetype remaining() const { return m_script.size(); }

    void reseed() override
    {
        ++m_reseeds;
        m_log.append(QStringLiteral("reseed"));
    }

    float next() override
    {
        m_log.append(QStringLiteral("next"));
        if (!m_script.isEmpty())
            return m_script.takeFirst();
        return static_cast<float>(m_fallback() >> 8) / (1u << 24);
    }

    int reseeds() const { return m_reseeds; }
    const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }

private:
    QList<float> m_script;
    std::mt19937 m_fallback {20261206};
    int m_reseeds = 0;
    QStringList m_log;
};

// The value in [0, 1) that draws the given hole (r x 8 rounds to it).
inline float drawForHole(int hole)
{
    return static_cast<float>(hole) / 8.0f;
}

// The value in [0, 1) that draws the given picture number out of count pictures.
inline float drawForPicture(int number, int count)
{
    return count > 1 ? static_cast<float>(number) / static_cast<float>(count - 1) * 0.999f : 0.0f;
}
