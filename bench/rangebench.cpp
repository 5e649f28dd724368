// The rows measured in this process, on shown ranges: the stall of a tick among photos, a drag
// of the window's corner, hits and misses, and the timing of real waves.
#include "benchmarks.h"
#include "measure.h"
#include "range.h"

#include "captionframe.h"
#include "heldtimers.h"
#include "picturebox.h"

#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <numeric>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int middleHole = 4;
constexpr int holeAbove = 5; // the tick's loop meets it again: two pictures are placed

// Stall per tick: the handler of tmr1's timeout, in a window of a photo's size with 21 photos read
// ahead, against the floor of decoding what the window shows of one photo with a bare
// QImageReader, as a tick that read its picture would. The target stands in the middle hole
// and moves to a hole above it, so that the tick places two pictures.
void stallBenchmark(benchmark::State &state, Range *range)
{
    range->enter();
    const QSize part = range->window().centralWidget()->size();
    for (auto _ : state) {
        range->standTargetIn(middleHole);
        range->steer(holeAbove);
        bool shownAtOnce = false;
        timeAgainstFloor(
            state,
            [&] {
                range->tick();
                shownAtOnce = range->game().hole(holeAbove).shown();
            },
            [&] {
                QImageReader reader(range->filePath(0));
                reader.setClipRect(QRect(QPoint(0, 0), reader.size().boundedTo(part)));
                benchmark::DoNotOptimize(reader.read());
            },
            [&] { state.counters["frame_us"] = microsecondsOf(drawPendingFrames); });
        state.counters["shown_at_once"] = shownAtOnce;
    }
}

// A drag of the window's corner from its first size to 1920 x 1080 pixels in 100 steps, one a
// frame: how often each picture is read from the moment the drag starts until every picture is
// read for the size it ended at, and how long after the drag that is.
void dragBenchmark(benchmark::State &state, Range *range)
{
    range->enter();
    constexpr int steps = 100;
    for (auto _ : state) {
        const QSize first = range->window().size();
        QList<int> reads(PictureFolder::namesLookedAt);
        const QMetaObject::Connection counting = QObject::connect(
            &range->pictures(), &TargetPictures::ready, [&](qint16 number) { ++reads[number]; });
        for (int step = 1; step <= steps; ++step) {
            range->window().resize(first + (QSize(1920, 1080) - first) * step / steps);
            QTest::qWait(16);
        }
        const double settled = microsecondsOf([range] { range->waitUntilRead(); });
        QObject::disconnect(counting);
        state.counters["most_reads"] = *std::max_element(reads.cbegin(), reads.cend());
        state.counters["reads"] = std::accumulate(reads.cbegin(), reads.cend(), 0);
        state.counters["settled_ms"] = settled / 1000;
        range->window().resize(first);
        range->waitUntilRead();
    }
}

// Hits and misses through the control's own signal, or a real press and release on the window's
// QWindow, against setText on a shown bare QLabel. Misses land by turns in two empty holes far
// apart, so that the bullet hole that one leaves never covers the next spot.
enum class Shot { Hit, Miss };
enum class Path { Signal, Mouse };
constexpr int missHoles[] = {0, 8};

void shotBenchmark(benchmark::State &state, Range *range, Shot shot, Path path)
{
    range->enter();
    const Game &game = range->game();
    const auto score = [&] {
        return (shot == Shot::Hit ? game.hits() : game.misses()).value_or(0);
    };
    static int turn = 0;
    for (auto _ : state) {
        range->standTargetIn(middleHole);
        QLabel label(QStringLiteral("1")); // the floor, as a score caption
        showAndPaint(label);
        const int hole = shot == Shot::Hit ? middleHole : missHoles[++turn % 2];
        PictureBox &target = *range->window().findChild<PictureBox *>(u"picHole_%1"_s.arg(hole));
        const QPoint spot = target.mapTo(&range->window(), target.rect().center());
        QWindow *window = range->window().windowHandle();
        CaptionFrame &field = *range->window().findChild<CaptionFrame *>();
        const QPointF fieldSpot = field.mapFrom(&range->window(), QPointF(spot));
        const int before = score();
        timeAgainstFloor(
            state,
            [&] {
                if (path == Path::Mouse)
                    QTest::mouseClick(window, Qt::LeftButton, {}, spot);
                else if (shot == Shot::Hit)
                    emit target.clicked();
                else
                    emit field.pressed(fieldSpot);
            },
            [&] { label.setText(QStringLiteral("2")); },
            [&] { state.counters["frame_us"] = microsecondsOf(drawPendingFrames); });
        if (score() != before + 1)
            return state.SkipWithError("the shot did not count");
    }
}

// Timing: real waves, Start and then tmr1 firing in the event loop; each tick's interval (the
// first from Start) against 600 ms, each wave from Start to its twentieth tick against 12 s.
constexpr int timedWaves = 2;

void timingBenchmark(benchmark::State &state, Range *range, HeldTimers *held, bool otherCoreBusy)
{
    range->enter();
    range->endWave();
    // This range's wave timer alone fires by itself; the other ranges' waves stay as they are.
    const QTimer &timer = range->game().waveTimer();
    held->letGo(&timer);
    const auto holdAgain = qScopeGuard([held] { held->letGo(nullptr); });
    // When each tick came, in milliseconds since the wave's Start (noted as the tick ends).
    QElapsedTimer clock;
    QList<double> arrivals;
    const QMetaObject::Connection noting = QObject::connect(&timer, &QTimer::timeout, [&] {
        arrivals.append(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    });
    const auto stopNoting = qScopeGuard([noting] { QObject::disconnect(noting); });
    const std::jthread spinner = otherCoreBusy ? std::jthread([](std::stop_token stop) {
        while (!stop.stop_requested()) { }
    })
                                               : std::jthread();
    std::vector<double> deviations;
    std::vector<double> lengths;
    for (auto _ : state) {
        for (int wave = 0; wave < timedWaves; ++wave) {
            const QDeadlineTimer deadline(2 * Game::ticksPerWave * Game::tickMilliseconds);
            arrivals.clear();
            clock.start();
            range->window().Start();
            while (range->game().isRunning() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (arrivals.size() != Game::ticksPerWave)
                return state.SkipWithError("a wave did not end at its twentieth tick");
            double previous = 0;
            for (double arrival : std::as_const(arrivals))
                deviations.push_back(
                    std::abs(arrival - std::exchange(previous, arrival) - Game::tickMilliseconds));
            lengths.push_back(previous);
        }
    }
    std::sort(deviations.begin(), deviations.end());
    const std::size_t middle = deviations.size() / 2;
    state.counters["median_ms"] = (deviations[middle - 1] + deviations[middle]) / 2;
    state.counters["max_ms"] = deviations.back();
    state.counters["ticks"] = static_cast<double>(deviations.size());
    state.counters["shortest_wave_ms"] = *std::min_element(lengths.begin(), lengths.end());
    state.counters["longest_wave_ms"] = *std::max_element(lengths.begin(), lengths.end());
}

} // namespace

void registerRangeBenchmarks(const std::vector<std::unique_ptr<Range>> &photos, Range &drag,
                             Range &samples, HeldTimers &held)
{
    for (const auto &range : photos) {
        const QSize window = range->window().size();
        const std::string name = "stall/" + std::to_string(window.width()) + 'x'
            + std::to_string(window.height()) + '/'
            + (range->encoding() == Range::Encoding::Progressive ? "progressive" : "baseline");
        sampled(benchmark::RegisterBenchmark(name.c_str(), stallBenchmark, range.get()), 15,
                benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("drag/21_photos", dragBenchmark, &drag)->Iterations(1);
    const auto shots = [&](const char *name, Shot shot, Path path) {
        sampled(benchmark::RegisterBenchmark(name, shotBenchmark, &samples, shot, path), 200,
                benchmark::kMicrosecond);
    };
    shots("hit/signal", Shot::Hit, Path::Signal);
    shots("hit/mouse", Shot::Hit, Path::Mouse);
    shots("miss/signal", Shot::Miss, Path::Signal);
    shots("miss/mouse", Shot::Miss, Path::Mouse);
    for (const auto &[name, busy] :
         {std::pair {"timing/no_added_load", false}, std::pair {"timing/other_core_busy", true}})
        benchmark::RegisterBenchmark(name, timingBenchmark, &samples, &held, busy)->Iterations(1);
}
