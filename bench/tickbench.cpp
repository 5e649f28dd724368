// Row 1: one tick of the wave timer against the floor of reading and decoding its picture.
#include "benchmarks.h"

#include "benchrange.h"
#include "firstframe.h"
#include "samples.h"
#include "targetfiles.h"

#include <QImageReader>

namespace {

// The target stands in the middle hole before each tick. A new hole below it (a lower index)
// is met once by the tick's loop over the holes: one picture is loaded. A new hole above it is
// met twice: two pictures are loaded, and the floor decodes the file twice to match.
constexpr int standingHole = 4;
constexpr int holesBelow[] = {2, 3};
constexpr int holesAbove[] = {5, 6};

void decodeFile(const QString &fileName)
{
    QImageReader reader(fileName);
    benchmark::DoNotOptimize(reader.read());
}

void tickBenchmark(benchmark::State &state, const TargetFolder *folder, int loads)
{
    folder->enter();
    BenchRange range;
    const QString fileName = folder->firstPicture();
    const auto &newHoles = loads == 1 ? holesBelow : holesAbove;
    PairedSamples samples;
    long turn = 0;
    for (auto _ : state) {
        range.standTargetIn(standingHole);
        range.random().steerToHole(newHoles[turn % 2]);
        samples.measure(
            state, [&] { range.tick(); },
            [&] {
                for (int load = 0; load < loads; ++load)
                    decodeFile(fileName);
            });
        samples.addExtra(microsecondsOf(drawPendingFrames));
        ++turn;
    }
    samples.report(state, "frame_us");
}

} // namespace

void registerTickBenchmarks(const std::vector<const TargetFolder *> &folders)
{
    for (const TargetFolder *folder : folders) {
        const QSize size = folder->pictureSize();
        const bool large = size.width() * size.height() > 1'000'000;
        for (int loads : {1, 2}) {
            const std::string name = "tick/" + std::to_string(size.width()) + "x"
                + std::to_string(size.height()) + (loads == 1 ? "/one_load" : "/two_loads");
            auto *benchmark =
                benchmark::RegisterBenchmark(name.c_str(), tickBenchmark, folder, loads)
                    ->UseManualTime()
                    ->Unit(benchmark::kMicrosecond);
            if (large)
                benchmark->Iterations(12);
        }
    }
}
