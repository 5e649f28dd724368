#include "memory.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QProcess>

namespace {

constexpr int finishWithinMilliseconds = 600000;

// The probe's output lines, or an empty list if it failed. The allocator's per-thread caches
// and fast bins are switched off in the probe, so that the heap it reports in use is what the
// program holds and not what the allocator keeps at hand for it.
QList<QByteArray> runProbe(const QString &folder, const QStringList &arguments)
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("GLIBC_TUNABLES"),
                       QStringLiteral("glibc.malloc.tcache_count=0:glibc.malloc.mxfast=0"));
    probe.setProcessEnvironment(environment);
    probe.setWorkingDirectory(folder);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("varkoz_benchmemory")),
        arguments);
    if (!probe.waitForFinished(finishWithinMilliseconds) || probe.exitCode() != 0)
        return {};
    return probe.readAllStandardOutput().split('\n');
}

qint64 peakKiB(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines) {
        if (line.startsWith("peak "))
            return line.mid(5).toLongLong();
    }
    return 0;
}

// "wave <n> <resident KiB> <heap bytes>" by wave number: resident KiB and heap bytes.
QMap<int, std::pair<double, double>> waveReadings(const QList<QByteArray> &lines)
{
    QMap<int, std::pair<double, double>> readings;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 4 && fields[0] == "wave")
            readings.insert(fields[1].toInt(), {fields[2].toDouble(), fields[3].toDouble()});
    }
    return readings;
}

MemoryUse::Growth growth(const QMap<int, std::pair<double, double>> &readings, int from, int to)
{
    const auto first = readings.value(from);
    const auto last = readings.value(to);
    const double waves = to - from;
    return {from, to, (last.first - first.first) / waves, (last.second - first.second) / waves};
}

} // namespace

MemoryUse measureMemory(const QString &folder, QSize windowSize, int peakAfterWaves)
{
    const int waves = 4 * peakAfterWaves;
    MemoryUse use;
    const QList<QByteArray> game = runProbe(
        folder, {QStringLiteral("game"), QString::number(waves), QString::number(peakAfterWaves)});
    const QList<QByteArray> bare =
        runProbe(folder,
                 {QStringLiteral("bare"), QString::number(windowSize.width()),
                  QString::number(windowSize.height())});
    const auto readings = waveReadings(game);
    if (peakKiB(game) == 0 || peakKiB(bare) == 0 || readings.size() != waves) {
        use.error = QStringLiteral("the memory probe failed");
        return use;
    }
    use.gamePeakMiB = peakKiB(game) / 1024.0;
    use.barePeakMiB = peakKiB(bare) / 1024.0;
    use.peakAfterWaves = peakAfterWaves;
    use.warmUp = growth(readings, peakAfterWaves, 2 * peakAfterWaves);
    use.steady = growth(readings, 2 * peakAfterWaves, waves);
    return use;
}
