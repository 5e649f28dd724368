#pragma once

#include <benchmark/benchmark.h>

#include <QList>
#include <QString>

#include <map>
#include <optional>
#include <string>

struct MemoryUse;
struct ProcessStartups;
struct WaveTimings;

// Prints Google Benchmark's usual console lines and keeps every benchmark's counters for the
// result table.
class CapturingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;

    // A counter of a benchmark by name, if it ran.
    std::optional<double> counter(const std::string &benchmark, const std::string &name) const;

private:
    std::map<std::string, std::map<std::string, double>> m_counters;
};

// The table of the run: each row's figure, its floor, their ratio, the goal and whether it is
// met, as Markdown.
class ResultTable
{
public:
    void addTicks(const CapturingReporter &reporter);
    void addShots(const CapturingReporter &reporter);
    void addStartup(const CapturingReporter &reporter);
    void addProcesses(const ProcessStartups &startups);
    void addWaves(const QString &condition, const WaveTimings &timings);
    void addMemory(const MemoryUse &use);

    QString markdown() const;

private:
    struct Row
    {
        QString name;
        QString measured;
        QString floor;
        QString ratio;
        QString goal;
        std::optional<bool> met; // none: no goal, or not measured
    };

    void addMissing(const QString &name, const QString &goal, const QString &why);

    QList<Row> m_rows;
};
