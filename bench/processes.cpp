#include "processes.h"

#include "samples.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <vector>

namespace {

constexpr int finishWithinMilliseconds = 30000;

// One program, started in the folder under the offscreen platform and run until it ends.
class ProgramRun
{
public:
    ProgramRun(QString program, QStringList arguments, const QString &folder)
        : m_program(std::move(program)), m_arguments(std::move(arguments))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
        m_process.setWorkingDirectory(folder);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
    }

    // Milliseconds from start to exit, or a negative number if it failed.
    double run()
    {
        double elapsed = 0;
        bool ok = false;
        elapsed = microsecondsOf([&] {
                      m_process.start(m_program, m_arguments);
                      ok = m_process.waitForFinished(finishWithinMilliseconds);
                  })
            / 1000.0;
        ok = ok && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
        return ok ? elapsed : -1.0;
    }

private:
    QString m_program;
    QStringList m_arguments;
    QProcess m_process;
};

QString besideBenchmark(const QString &name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

} // namespace

ProcessStartups measureProcessStartups(const QString &folder, QSize windowSize, int runs)
{
    ProgramRun game(besideBenchmark(QStringLiteral("varkoz_benchapp")), {}, folder);
    ProgramRun bare(besideBenchmark(QStringLiteral("varkoz_benchbare")),
                    {QString::number(windowSize.width()), QString::number(windowSize.height())},
                    folder);
    ProcessStartups result;
    if (game.run() < 0 || bare.run() < 0) {
        result.error = QStringLiteral("a program did not start, paint and quit");
        return result;
    }
    std::vector<double> gameTimes;
    std::vector<double> bareTimes;
    for (int run = 0; run < runs; ++run) {
        const double first = run % 2 == 0 ? game.run() : bare.run();
        const double second = run % 2 == 0 ? bare.run() : game.run();
        gameTimes.push_back(run % 2 == 0 ? first : second);
        bareTimes.push_back(run % 2 == 0 ? second : first);
        if (first < 0 || second < 0) {
            result.error = QStringLiteral("a program did not start, paint and quit");
            return result;
        }
    }
    result.gameMilliseconds = median(gameTimes);
    result.bareMilliseconds = median(bareTimes);
    result.runs = runs;
    return result;
}
