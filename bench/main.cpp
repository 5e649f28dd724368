// The benchmark of every hot path of the game against the floor the platform sets, measured in
// this one process (and in the programs it starts beside it), ending with the result table.
//
//   varkoz_bench [--rows=tick,shots,startup,process,timing,memory] [Google Benchmark flags]
//
// It runs under the offscreen platform unless QT_QPA_PLATFORM names another.
#include "benchmarks.h"
#include "fidelity.h"
#include "memory.h"
#include "processes.h"
#include "results.h"
#include "targetfiles.h"

#include "programstart.h"

#include "dialogfont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QThread>

#include <cstring>

namespace {

constexpr int processRuns = 15;
constexpr int timedWaves = 2;
constexpr int memoryWaves = 50;

// The groups of rows this run is to measure: all, unless --rows= names some.
class RowSelection
{
public:
    // Takes --rows=... out of the arguments, leaving the rest to Google Benchmark.
    RowSelection(int &argc, char **argv)
    {
        const char *prefix = "--rows=";
        int kept = 0;
        for (int i = 0; i < argc; ++i) {
            if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0)
                m_only = QString::fromLocal8Bit(argv[i] + std::strlen(prefix)).split(u',');
            else
                argv[kept++] = argv[i];
        }
        argc = kept;
    }
    bool wants(const QString &group) const { return m_only.isEmpty() || m_only.contains(group); }

private:
    QStringList m_only;
};

// The processor's model and the number of cores, as the system describes them.
QString machineDescription()
{
    QFile cpuInfo(QStringLiteral("/proc/cpuinfo"));
    QString model = QStringLiteral("unknown processor");
    if (cpuInfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuInfo.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                model = QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
        }
    }
    return model + u", " + QString::number(QThread::idealThreadCount()) + u" cores";
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const RowSelection rows(argc, argv);
    QApplication app(argc, argv);
    useDialogFonts();
    benchmark::Initialize(&argc, argv);
    const QString startDir = QDir::currentPath();

    // The targets: one picture of each size for the ticks, and ten of 81 x 81 pixels, like the
    // sample set, for the rest.
    const TargetFolder small(1, {81, 81});
    const TargetFolder medium(1, {640, 480});
    const TargetFolder large(1, {4000, 3000});
    const TargetFolder samples(10, {81, 81});
    if (!small.isValid() || !medium.isValid() || !large.isValid() || !samples.isValid()) {
        QTextStream(stderr) << "Cannot write the target pictures." << Qt::endl;
        return 1;
    }

    if (rows.wants(QStringLiteral("tick")))
        registerTickBenchmarks({&small, &medium, &large});
    if (rows.wants(QStringLiteral("shots")))
        registerShotBenchmarks(&samples);
    if (rows.wants(QStringLiteral("startup")))
        registerStartupBenchmarks(&samples);
    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    ResultTable table;
    table.addTicks(reporter);
    table.addShots(reporter);
    table.addStartup(reporter);
    const QSize windowSize = gameWindowSize(samples);
    if (rows.wants(QStringLiteral("process")))
        table.addProcesses(measureProcessStartups(samples.path(), windowSize, processRuns));
    if (rows.wants(QStringLiteral("timing"))) {
        table.addWaves(QStringLiteral("no added load"), timeRealWaves(samples, timedWaves, false));
        table.addWaves(QStringLiteral("other core busy"), timeRealWaves(samples, timedWaves, true));
    }
    if (rows.wants(QStringLiteral("memory")))
        table.addMemory(measureMemory(samples.path(), windowSize, memoryWaves));

    QDir::setCurrent(startDir);
    QTextStream(stdout) << "\nResults (medians; Qt " << qVersion() << ", offscreen platform; "
                        << machineDescription() << ")\n\n"
                        << table.markdown() << Qt::flush;
    benchmark::Shutdown();
    return 0;
}
