// The game's hot paths, each against the floor the platform sets, on Google Benchmark (flags such
// as --benchmark_filter=tick), under the offscreen platform unless QT_QPA_PLATFORM names another.
// tools/bench.sh runs them with JSON output and prints the table from it.
#include "benchmarks.h"
#include "heldtimers.h"
#include "range.h"

#include "dialogfont.h"

#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    useDialogFonts();
    if (QApplication::arguments().value(1) == u"--memory-probe")
        return runMemoryProbe(QApplication::arguments().mid(2));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::AddCustomContext("qt_version", qVersion());

    // The rows deliver the ticks of every wave themselves; a real tick never comes between.
    HeldTimers held({QStringLiteral("tmr1")});
    // Two pictures of each size for the ticks, a photo in each JPEG encoding, and ten of 81 x 81
    // pixels, like the sample set, for the rest.
    Range small({81, 81}, 2);
    Range medium({640, 480}, 2);
    Range baseline({4000, 3000}, 1, Range::Encoding::Baseline);
    Range progressive({4000, 3000}, 1, Range::Encoding::Progressive);
    Range samples({81, 81}, 10);
    registerRangeBenchmarks(small, medium, baseline, progressive, samples, held);
    registerProcessBenchmarks(samples);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
