// The rows of whole processes: the game's start-up to its first frame against a minimal Qt
// program's, and the game's memory over many waves against a process showing a bare window.
#include "benchmarks.h"
#include "measure.h"
#include "range.h"

#include "captionframe.h"
#include "picturebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>

#include <malloc.h>

#include <array>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int startupRuns = 15;
constexpr int memoryWaves = 50; // the peak after these many; the growth to twice and four times

// Runs a program built beside the benchmark to its end, in the folder, under the benchmark's Qt
// platform: its standard output, or none if it failed.
std::optional<QByteArray>
runBeside(const QString &program, const QStringList &arguments, const QString &folder,
          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QCoreApplication::applicationDirPath() + u'/' + program, arguments);
    if (process.waitForFinished(10 * 60 * 1000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        return process.readAllStandardOutput();
    std::fputs(process.readAllStandardError().constData(), stderr);
    return std::nullopt;
}

void startupBenchmark(benchmark::State &state, Range *range, const QStringList &bareWindow)
{
    bool allEnded = true;
    const auto run = [&](const QString &program, const QStringList &arguments) {
        allEnded = runBeside(program, arguments, range->path()).has_value() && allEnded;
    };
    for (auto _ : state) {
        timeAgainstFloor(
            state, [&] { run(u"varkoz_benchapp"_s, {}); },
            [&] { run(u"varkoz_benchbare"_s, bareWindow); }, [] {});
    }
    if (!allEnded)
        state.SkipWithError("a program did not start, paint and quit");
}

// The numbers that the benchmark, started as the memory probe, prints.
QList<double> probeMemory(const QStringList &arguments)
{
    // The allocator's per-thread caches and fast bins are off, so that the heap in use is what
    // the program holds, not what the allocator keeps at hand for it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"GLIBC_TUNABLES"_s, u"glibc.malloc.tcache_count=0:glibc.malloc.mxfast=0"_s);
    QList<double> numbers;
    const auto output = runBeside(u"varkoz_bench"_s, QStringList {u"--memory-probe"_s} + arguments,
                                  QDir::tempPath(), environment);
    for (const QByteArray &number : output.value_or(QByteArray()).simplified().split(' '))
        numbers.append(number.toDouble());
    return numbers;
}

void memoryBenchmark(benchmark::State &state, const QStringList &bareWindow)
{
    for (auto _ : state) {
        const QList<double> game = probeMemory({u"game"_s, QString::number(memoryWaves)});
        const QList<double> bare = probeMemory(QStringList {u"bare"_s} + bareWindow);
        if (game.size() != 7 || bare.size() != 1)
            return state.SkipWithError("the memory probe failed");
        state.counters["peak_mib"] = game[0] / 1024;
        state.counters["bare_mib"] = bare[0] / 1024;
        state.counters["warm_rss_kib"] = (game[3] - game[1]) / memoryWaves;
        state.counters["warm_heap_b"] = (game[4] - game[2]) / memoryWaves;
        state.counters["steady_rss_kib"] = (game[5] - game[3]) / (2 * memoryWaves);
        state.counters["steady_heap_b"] = (game[6] - game[4]) / (2 * memoryWaves);
    }
}

// The probe's side. A line "Name:   1234 kB" of /proc/self/status, in KiB.
double statusKiB(QByteArrayView name)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).simplified().split(' ').value(0).toDouble();
    }
    return 0;
}

// A wave through the controls' signals, a hit and a miss at every tick, every frame painted.
void playWave(Range &range)
{
    range.startWave();
    for (int tick = 0; tick < Game::ticksPerWave; ++tick) {
        for (int index = 0; index < Game::holeCount; ++index) {
            if (range.game().hole(index).shown())
                emit range.hole(index).clicked();
        }
        emit range.field().pressed(QPointF(4, 20 + tick));
        drawPendingFrames();
        range.tick();
        drawPendingFrames();
    }
}

// Prints the peak resident KiB after n waves, the resident KiB and heap bytes after n, 2n, 4n.
int probeGame(int waves)
{
    Range range({81, 81}, 10);
    range.endWave();
    std::array<double, 7> readings {}; // filled without allocating
    auto next = readings.begin();
    for (int wave = 1; wave <= 4 * waves; ++wave) {
        playWave(range);
        if (wave == waves)
            *next++ = statusKiB("VmHWM:");
        if (wave == waves || wave == 2 * waves || wave == 4 * waves) {
            *next++ = statusKiB("VmRSS:");
            *next++ = static_cast<double>(mallinfo2().uordblks);
        }
    }
    for (double reading : readings)
        std::printf("%.0f ", reading);
    return 0;
}

} // namespace

int runMemoryProbe(const QStringList &arguments)
{
    if (arguments.size() == 2 && arguments[0] == u"game")
        return probeGame(arguments[1].toInt());
    if (arguments.size() == 3 && arguments[0] == u"bare") {
        QMainWindow window; // its peak resident KiB, shown
        window.resize(arguments[1].toInt(), arguments[2].toInt());
        showAndPaint(window);
        std::printf("%.0f", statusKiB("VmHWM:"));
        return 0;
    }
    std::fputs("usage: varkoz_bench --memory-probe game <n> | bare <width> <height>\n", stderr);
    return 2;
}

void registerProcessBenchmarks(Range &samples)
{
    // The bare window takes the size of the game's, menu bar included.
    const QSize size = samples.window().size();
    const QStringList bare {QString::number(size.width()), QString::number(size.height())};
    sampled(benchmark::RegisterBenchmark("startup", startupBenchmark, &samples, bare), startupRuns,
            benchmark::kMillisecond);
    benchmark::RegisterBenchmark("memory", memoryBenchmark, bare)->Iterations(1);
}
