// The rows of whole processes: the game's start-up to its first frame against a minimal Qt
// program's; the game's memory over many waves, and with photos in a large window, against a
// process showing a bare window of the size; and how much decoding one picture takes.
#include "benchmarks.h"
#include "measure.h"
#include "range.h"

#include "captionframe.h"
#include "picturebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QTest>

#include <malloc.h>

#include <array>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int startupRuns = 15;
constexpr int memoryWaves = 50; // the peak after these many; the growth from twice to four times

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

QStringList sizeArguments(QSize size)
{
    return {QString::number(size.width()), QString::number(size.height())};
}

// The game started in the range's folder (with photos there, it is still reading them ahead
// when its first frame is painted and it quits), against a bare window of the game's first size.
void startupBenchmark(benchmark::State &state, const Range *range, QSize window)
{
    bool allEnded = true;
    const auto run = [&](const QString &program, const QStringList &arguments) {
        allEnded = runBeside(program, arguments, range->path()).has_value() && allEnded;
    };
    const QStringList bare = sizeArguments(window);
    for (auto _ : state) {
        timeAgainstFloor(
            state, [&] { run(u"varkoz_benchapp"_s, {}); },
            [&] { run(u"varkoz_benchbare"_s, bare); }, [] {});
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

// The peak over waves of the range's pictures in a window of the size, against a bare window's.
void memoryBenchmark(benchmark::State &state, const Range *range, QSize size, int waves)
{
    const QStringList window = sizeArguments(size);
    for (auto _ : state) {
        const QList<double> game = probeMemory(QStringList {u"game"_s, range->path()} + window
                                               + QStringList {QString::number(waves)});
        const QList<double> bare = probeMemory(QStringList {u"bare"_s} + window);
        if (game.size() != 3 || bare.size() != 1)
            return state.SkipWithError("the memory probe failed");
        state.counters["peak_mib"] = game[0] / 1024;
        state.counters["bare_mib"] = bare[0] / 1024;
        state.counters["heap_b_per_wave"] = (game[2] - game[1]) / (2 * waves);
    }
}

// How much the process grows, at its peak, to read a picture as far as 1920 x 1080.
void decodingBenchmark(benchmark::State &state, const QString &fileName)
{
    for (auto _ : state) {
        const QList<double> grown = probeMemory({u"read"_s, fileName});
        if (grown.size() != 2)
            return state.SkipWithError("the memory probe failed");
        state.counters["grown_mib"] = grown[0] / 1024;
        state.counters["refused"] = grown[1];
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

// Prints the peak resident KiB of the game over the folder's pictures in a window of the size,
// read and played n waves (a hit and a miss a tick, every frame painted); the heap at 2n and 4n.
int probeGame(const QString &folder, QSize size, int waves)
{
    QDir::setCurrent(folder);
    ScriptedRandom random;
    auto supply = std::make_unique<PictureFolder>();
    const PictureFolder &pictures = *supply;
    FrmMain window(random, std::move(supply));
    Game &game = window.game();
    window.resize(size);
    showAndPaint(window);
    if (!QTest::qWaitFor([&] { return !pictures.isReading(); }, 60'000))
        return 1;
    const QList<PictureBox *> boxes = window.findChildren<PictureBox *>();
    CaptionFrame *field = window.findChild<CaptionFrame *>();
    std::array<double, 3> readings {}; // filled without allocating
    for (int wave = 1; wave <= 4 * waves; ++wave) {
        game.start();
        for (int tick = 0; tick < Game::ticksPerWave; ++tick) {
            for (PictureBox *box : boxes) {
                if (box->isVisible() && box->objectName().startsWith(u"picHole"))
                    emit box->clicked();
            }
            emit field->pressed(QPointF(4, 20 + tick));
            drawPendingFrames();
            game.tick();
            drawPendingFrames();
        }
        if (wave == waves)
            readings[0] = statusKiB("VmHWM:");
        if (wave == 2 * waves)
            readings[1] = static_cast<double>(mallinfo2().uordblks);
    }
    readings[2] = static_cast<double>(mallinfo2().uordblks);
    std::printf("%.0f %.0f %.0f", readings[0], readings[1], readings[2]);
    return 0;
}

} // namespace

int runMemoryProbe(const QStringList &arguments)
{
    if (arguments.size() == 5 && arguments[0] == u"game")
        return probeGame(arguments[1], {arguments[2].toInt(), arguments[3].toInt()},
                         arguments[4].toInt());
    if (arguments.size() == 2 && arguments[0] == u"read") {
        const double before = statusKiB("VmHWM:");
        const PictureFile file = PictureReading::read(arguments[1], {1920, 1080}, false);
        std::printf("%.0f %d", statusKiB("VmHWM:") - before, file.image.isNull());
        return 0;
    }
    if (arguments.size() == 3 && arguments[0] == u"bare") {
        QMainWindow window; // its peak resident KiB, shown
        window.resize(arguments[1].toInt(), arguments[2].toInt());
        showAndPaint(window);
        std::printf("%.0f", statusKiB("VmHWM:"));
        return 0;
    }
    std::fputs("usage: varkoz_bench --memory-probe game <folder> <width> <height> <waves>"
               " | bare <width> <height> | read <file>\n",
               stderr);
    return 2;
}

void registerProcessBenchmarks(const Range &samples, const Range &photos,
                               const QStringList &pictures)
{
    for (const auto &[name, range] :
         {std::pair {"startup/samples", &samples}, std::pair {"startup/photos", &photos}}) {
        sampled(
            benchmark::RegisterBenchmark(name, startupBenchmark, range, samples.window().size()),
            startupRuns, benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("memory/samples", memoryBenchmark, &samples,
                                 samples.window().size(), memoryWaves)
        ->Iterations(1);
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)}) {
        const std::string name = "memory/21_photos/" + std::to_string(size.width()) + 'x'
            + std::to_string(size.height());
        benchmark::RegisterBenchmark(name.c_str(), memoryBenchmark, &photos, size, 3)
            ->Iterations(1);
    }
    for (const QString &picture : pictures) {
        const std::string name = "decoding/" + QFileInfo(picture).baseName().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), decodingBenchmark, picture)->Iterations(1);
    }
}
