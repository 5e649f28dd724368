#include "fidelity.h"

#include "firstframe.h"
#include "samples.h"
#include "targetfiles.h"

#include "frmmain.h"
#include "pictureset.h"
#include "random.h"
#include "wave.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double tickMs = Wave::tickMilliseconds;
constexpr double waveMs = Wave::tickMilliseconds * Wave::ticksPerWave;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Threads that keep the other cores busy while they live.
class BusyCores
{
public:
    explicit BusyCores(bool busy)
    {
        const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
        for (unsigned core = 1; busy && core < cores; ++core)
            m_threads.emplace_back([this] {
                while (!m_stop.load(std::memory_order_relaxed)) { }
            });
    }
    ~BusyCores()
    {
        m_stop = true;
        for (std::thread &thread : m_threads)
            thread.join();
    }
    BusyCores(const BusyCores &) = delete;
    BusyCores &operator=(const BusyCores &) = delete;

private:
    std::atomic<bool> m_stop {false};
    std::vector<std::thread> m_threads;
};

// Notes when each timeout of the wave timer arrives, before the tick handler runs, and ends
// the event loop at the wave's last tick.
class TickClock : public QObject
{
public:
    TickClock(QTimer &timer, QEventLoop &loop) : m_loop(loop) { timer.installEventFilter(this); }

    std::vector<Clock::time_point> ticks;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            ticks.push_back(Clock::now());
            if (ticks.size() % Wave::ticksPerWave == 0)
                QMetaObject::invokeMethod(&m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QEventLoop &m_loop;
};

} // namespace

double WaveTimings::medianAbsoluteDeviationMs() const
{
    std::vector<double> absolute;
    for (double deviation : tickDeviationsMs)
        absolute.push_back(std::abs(deviation));
    return median(absolute);
}

double WaveTimings::maximumAbsoluteDeviationMs() const
{
    double worst = 0;
    for (double deviation : tickDeviationsMs)
        worst = std::max(worst, std::abs(deviation));
    return worst;
}

double WaveTimings::worstWaveErrorMs() const
{
    double worst = 0;
    for (double length : waveLengthsMs)
        worst = std::max(worst, std::abs(length - waveMs));
    return worst;
}

WaveTimings timeRealWaves(const TargetFolder &folder, int waves, bool busyCores)
{
    folder.enter();
    ClockSeededRandom random;
    DiskFileLookup files;
    DiskPictureLoader pictures;
    FrmMain window({random, files, pictures});
    showUntilFirstFrame(window);
    auto *timer = window.findChild<QTimer *>(QStringLiteral("tmr1"));

    WaveTimings timings;
    QEventLoop loop;
    TickClock clock(*timer, loop);
    // A wave that never ends stops the loop after twice its length.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    const BusyCores busy(busyCores);
    for (int wave = 0; wave < waves; ++wave) {
        const std::size_t firstTick = clock.ticks.size();
        guard.start(2 * static_cast<int>(waveMs));
        const Clock::time_point start = Clock::now();
        window.Start();
        loop.exec();
        guard.stop();
        if (clock.ticks.size() != firstTick + Wave::ticksPerWave) {
            timings.error = QStringLiteral("a wave did not end after its twentieth tick");
            return timings;
        }
        Clock::time_point previous = start;
        for (std::size_t tick = firstTick; tick < clock.ticks.size(); ++tick) {
            timings.tickDeviationsMs.push_back(millisecondsBetween(previous, clock.ticks[tick])
                                               - tickMs);
            previous = clock.ticks[tick];
        }
        timings.waveLengthsMs.push_back(millisecondsBetween(start, clock.ticks.back()));
    }
    return timings;
}
