// The game's hot paths, each against the floor the platform sets, on Google Benchmark (flags such
// as --benchmark_filter=tick), under the offscreen platform unless QT_QPA_PLATFORM names another.
// tools/bench.sh runs them with JSON output and prints the table from it.
#include "benchmarks.h"
#include "range.h"
#include "testing.h"

#include "dialogfont.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <memory>
#include <vector>

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
    // 21 photos of 6000 x 4000 pixels, as cameras write them, in windows of a large screen's size,
    // baseline and progressive; the same at the window's first size, to drag it larger; and ten
    // pictures of 81 x 81 pixels, like the sample set.
    const QSize photo(6000, 4000);
    std::vector<std::unique_ptr<Range>> photos;
    for (const QSize window : {QSize(1920, 1080), QSize(3840, 2160)}) {
        for (const auto encoding : {Range::Encoding::Baseline, Range::Encoding::Progressive})
            photos.push_back(std::make_unique<Range>(photo, 21, encoding, window));
    }
    Range drag(photo, 21);
    Range samples({81, 81}, 10);
    // Headers of progressive JPEGs that claim 5792 x 5792 pixels in a few hundred bytes, every
    // colour at full resolution or at a quarter.
    const QTemporaryDir headers;
    QStringList pictures;
    for (const auto &[name, sampling] : {std::pair {"progressive_5792x5792_444", 0x11},
                                         std::pair {"progressive_5792x5792_420", 0x22}}) {
        pictures.append(headers.filePath(QString::fromLatin1(name) + u".jpg"));
        if (!writeBytes(pictures.last(), claimingJpeg({5792, 5792}, true, char(sampling))))
            qFatal("Cannot write %s", qPrintable(pictures.last()));
    }
    registerRangeBenchmarks(photos, drag, samples, held);
    registerProcessBenchmarks(samples, *photos.front(), pictures);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
