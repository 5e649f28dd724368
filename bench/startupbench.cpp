// Row 3, in-process: the main window built, loaded and shown up to its first painted frame,
// against a bare QMainWindow of the same size shown and painted in the same process.
#include "benchmarks.h"

#include "firstframe.h"
#include "programstart.h"
#include "samples.h"
#include "targetfiles.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>

#include <memory>

namespace {

void startupBenchmark(benchmark::State &state, const TargetFolder *folder)
{
    folder->enter();
    // The bare window takes the size of the game's window, menu bar included.
    const QSize size = gameWindowSize(*folder);

    PairedSamples samples;
    for (auto _ : state) {
        ProgramStart start;
        std::unique_ptr<QMainWindow> bare;
        samples.measure(
            state, [&] { start.run(); },
            [&] {
                bare = std::make_unique<QMainWindow>();
                bare->resize(size);
                showUntilFirstFrame(*bare);
            });
        start.end();
        bare.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    samples.report(state);
}

} // namespace

void registerStartupBenchmarks(const TargetFolder *folder)
{
    benchmark::RegisterBenchmark("startup/window", startupBenchmark, folder)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
}
