#include "results.h"

#include "fidelity.h"
#include "memory.h"
#include "processes.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr double tickRatioGoal = 1.3;
constexpr double shotGoalMicroseconds = 50;
constexpr double startupRatioGoal = 1.5;
constexpr double tickMedianGoalMs = 1;
constexpr double tickMaximumGoalMs = 5;
constexpr double waveLengthGoalMs = 10;
constexpr double memoryGoalMiB = 10;
// The smallest block the heap hands out is 32 bytes: if every wave kept even one, the heap would
// grow 32 bytes a wave, so less than a byte a wave is no growth at all.
constexpr double heapGrowthToleranceBytes = 1;

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString microseconds(double value)
{
    return number(value, value < 100 ? 1 : 0) + u" µs";
}

QString milliseconds(double value, int decimals = 1)
{
    return number(value, decimals) + u" ms";
}

} // namespace

void CapturingReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.error_occurred)
            continue;
        auto &counters = m_counters[run.run_name.function_name];
        for (const auto &[name, counter] : run.counters)
            counters[name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
}

std::optional<double> CapturingReporter::counter(const std::string &benchmark,
                                                 const std::string &name) const
{
    const auto found = m_counters.find(benchmark);
    if (found == m_counters.end())
        return std::nullopt;
    const auto value = found->second.find(name);
    if (value == found->second.end())
        return std::nullopt;
    return value->second;
}

void ResultTable::addMissing(const QString &name, const QString &goal, const QString &why)
{
    m_rows.append({name, why, {}, {}, goal, std::nullopt});
}

namespace {
// A benchmark's time, its floor's time and their ratio, if it ran.
struct AgainstFloor
{
    double measured;
    double floor;
    double ratio;
};

std::optional<AgainstFloor> timedAgainstFloor(const CapturingReporter &reporter,
                                              const std::string &benchmark)
{
    const auto measured = reporter.counter(benchmark, "us");
    const auto floor = reporter.counter(benchmark, "floor_us");
    const auto ratio = reporter.counter(benchmark, "ratio");
    if (!measured || !floor || !ratio)
        return std::nullopt;
    return AgainstFloor {*measured, *floor, *ratio};
}
} // namespace

void ResultTable::addTicks(const CapturingReporter &reporter)
{
    const QString goal = u"ratio ≤ " + number(tickRatioGoal, 1);
    for (const char *size : {"81x81", "640x480", "4000x3000"}) {
        for (const char *kind : {"one_load", "two_loads"}) {
            const std::string benchmark = std::string("tick/") + size + "/" + kind;
            const QString name = u"1. Tick, " + QString::fromLatin1(size)
                + (std::string(kind) == "one_load" ? u", one picture"_s : u", two pictures"_s);
            const auto timed = timedAgainstFloor(reporter, benchmark);
            if (!timed) {
                addMissing(name, goal, u"not run"_s);
                continue;
            }
            const auto frame = reporter.counter(benchmark, "frame_us");
            const QString then = frame ? u", then " + microseconds(*frame) + u" frame" : QString();
            m_rows.append({name, microseconds(timed->measured) + then,
                           microseconds(timed->floor) + u" decode", number(timed->ratio, 2), goal,
                           timed->ratio <= tickRatioGoal});
        }
    }
}

void ResultTable::addShots(const CapturingReporter &reporter)
{
    const QString goal = u"< " + number(shotGoalMicroseconds, 0) + u" µs";
    const QList<std::pair<const char *, QString>> shots = {
        {"hit/handler", u"2. Hit, picHole_Click with caption"_s},
        {"hit/mouse", u"2. Hit, real click through the window, frame included"_s},
        {"miss/handler", u"2. Miss, fraField_MouseDown with caption"_s},
        {"miss/mouse", u"2. Miss, real press through the window, frame included"_s}};
    for (const auto &[benchmark, name] : shots) {
        const auto timed = timedAgainstFloor(reporter, benchmark);
        if (!timed) {
            addMissing(name, goal, u"not run"_s);
            continue;
        }
        m_rows.append({name, microseconds(timed->measured),
                       microseconds(timed->floor) + u" setText", number(timed->ratio, 1), goal,
                       timed->measured < shotGoalMicroseconds});
    }
}

void ResultTable::addStartup(const CapturingReporter &reporter)
{
    const QString name = u"3. Start-up, main window to first frame"_s;
    const QString goal = u"ratio ≤ " + number(startupRatioGoal, 1);
    const auto measured = reporter.counter("startup/window", "us");
    const auto floor = reporter.counter("startup/window", "floor_us");
    const auto ratio = reporter.counter("startup/window", "ratio");
    if (!measured || !floor || !ratio)
        return addMissing(name, goal, u"not run"_s);
    m_rows.append({name, milliseconds(*measured / 1000, 2),
                   milliseconds(*floor / 1000, 2) + u" bare window", number(*ratio, 2), goal,
                   *ratio <= startupRatioGoal});
}

void ResultTable::addProcesses(const ProcessStartups &startups)
{
    const QString name = u"3. Start-up, whole process to first frame and quit"_s;
    const QString goal = u"ratio ≤ " + number(startupRatioGoal, 1);
    if (!startups.error.isEmpty())
        return addMissing(name, goal, startups.error);
    const double ratio = startups.gameMilliseconds / startups.bareMilliseconds;
    m_rows.append({name, milliseconds(startups.gameMilliseconds),
                   milliseconds(startups.bareMilliseconds) + u" minimal Qt program",
                   number(ratio, 2), goal, ratio <= startupRatioGoal});
}

void ResultTable::addWaves(const QString &condition, const WaveTimings &timings)
{
    const QString prefix = u"4. Timing, " + condition + u", ";
    const QString medianGoal = u"≤ " + milliseconds(tickMedianGoalMs, 0);
    const QString maximumGoal = u"≤ " + milliseconds(tickMaximumGoalMs, 0);
    const QString lengthGoal = u"within " + milliseconds(waveLengthGoalMs, 0);
    if (!timings.error.isEmpty()) {
        addMissing(prefix + u"tick deviation, median", medianGoal, timings.error);
        return;
    }
    const double medianDeviation = timings.medianAbsoluteDeviationMs();
    const double maximumDeviation = timings.maximumAbsoluteDeviationMs();
    const double waveError = timings.worstWaveErrorMs();
    const QString ticks = QString::number(timings.tickDeviationsMs.size()) + u" ticks of 600 ms";
    m_rows.append({prefix + u"tick deviation, median",
                   milliseconds(medianDeviation, 3),
                   ticks,
                   {},
                   medianGoal,
                   medianDeviation <= tickMedianGoalMs});
    m_rows.append({prefix + u"tick deviation, maximum",
                   milliseconds(maximumDeviation, 3),
                   ticks,
                   {},
                   maximumGoal,
                   maximumDeviation <= tickMaximumGoalMs});
    QStringList lengths;
    for (double length : timings.waveLengthsMs)
        lengths.append(milliseconds(length, 1));
    m_rows.append({prefix + u"wave length", lengths.join(u", "), u"12000 ms"_s,
                   u"±" + milliseconds(waveError, 1), lengthGoal, waveError <= waveLengthGoalMs});
}

void ResultTable::addMemory(const MemoryUse &use)
{
    const QString peakName =
        u"5. Memory, peak resident after " + QString::number(use.peakAfterWaves) + u" waves";
    const QString peakGoal = u"≤ bare + " + number(memoryGoalMiB, 0) + u" MiB";
    if (!use.error.isEmpty())
        return addMissing(peakName, peakGoal, use.error);
    const double above = use.gamePeakMiB - use.barePeakMiB;
    m_rows.append({peakName, number(use.gamePeakMiB, 1) + u" MiB",
                   number(use.barePeakMiB, 1) + u" MiB bare window",
                   u"+" + number(above, 1) + u" MiB", peakGoal, above <= memoryGoalMiB});
    for (const auto &[growth, steady] :
         {std::pair {use.warmUp, false}, std::pair {use.steady, true}}) {
        const QString name = u"5. Memory, growth per wave, waves "
            + QString::number(growth.fromWave) + u" to " + QString::number(growth.toWave)
            + (steady ? u" (steady)"_s : u" (warming up)"_s);
        const QString measured = number(growth.heapBytesPerWave, 1) + u" B heap, "
            + number(growth.residentKiBPerWave, 2) + u" KiB resident";
        if (steady)
            m_rows.append({name,
                           measured,
                           {},
                           {},
                           u"0 (< 1 B heap)"_s,
                           growth.heapBytesPerWave < heapGrowthToleranceBytes});
        else
            m_rows.append({name, measured, {}, {}, {}, std::nullopt});
    }
}

QString ResultTable::markdown() const
{
    QStringList lines = {u"| row | measured | floor | ratio | goal | met |"_s,
                         u"|---|---|---|---|---|---|"_s};
    for (const Row &row : m_rows) {
        const QString met = !row.met ? u"—"_s : *row.met ? u"yes"_s : u"no"_s;
        lines.append(u"| " + row.name + u" | " + row.measured + u" | " + row.floor + u" | "
                     + row.ratio + u" | " + row.goal + u" | " + met + u" |");
    }
    return lines.join(u'\n') + u'\n';
}
