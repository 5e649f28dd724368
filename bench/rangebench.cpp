// The rows measured in this process, on shown ranges: ticks (of small pictures and of photos),
// hits and misses, and the timing of real waves.
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
#include <optional>
#include <set>
#include <thread>
#include <vector>

namespace {

// Ticks: the handler of tmr1's timeout against the floor of decoding the same pictures with a bare
// QImageReader. The target stands in the middle hole. The tick's loop over the holes meets a new
// hole below it once, and places the target with one picture; a new hole above it, twice.
constexpr int middleHole = 4;
constexpr int holeBelow = 3;
constexpr int holeAbove = 5;

struct TickCase
{
    Range *range;
    QList<int> pictures; // the numbers drawn as the tick places the target, once or twice
    bool touched; // the files are touched before the tick, so that the game decodes them again
};

// Decodes what the game decodes of a picture: the part that the window can show.
void decode(const QString &fileName)
{
    QImageReader reader(fileName);
    if (const QSize size = reader.size(); size.boundedTo(FrmMain::clientArea) != size)
        reader.setClipRect(QRect(QPoint(0, 0), size.boundedTo(FrmMain::clientArea)));
    benchmark::DoNotOptimize(reader.read());
}

void tickBenchmark(benchmark::State &state, const TickCase &tick)
{
    Range &range = *tick.range;
    range.enter();
    const int newHole = tick.pictures.size() == 1 ? holeBelow : holeAbove;
    // A picture drawn twice is decoded once; the second time, it is kept.
    const std::set<int> numbers(tick.pictures.begin(), tick.pictures.end());
    for (auto _ : state) {
        range.standTargetIn(middleHole);
        range.steer(newHole, tick.pictures);
        for (int number : numbers) {
            if (tick.touched && !range.touch(number))
                return state.SkipWithError("a picture could not be touched");
        }
        double shown = 0;
        double frame = 0;
        const double stall = timeAgainstFloor(
            state, [&] { range.tick(); },
            [&] {
                for (int number : numbers)
                    decode(range.filePath(number));
            },
            [&] {
                shown = microsecondsOf([&] { range.waitUntilShown(newHole); });
                frame = microsecondsOf(drawPendingFrames);
            });
        state.counters["shown_us"] = stall + shown;
        state.counters["frame_us"] = frame;
        const Hole &hole = range.game().hole(newHole);
        if (!hole.shown() || hole.pictureNumber != tick.pictures.last())
            return state.SkipWithError("the target did not move as steered");
    }
}

void registerTick(const char *row, const char *kind, const TickCase &tick, int samples)
{
    const QSize size = QImageReader(tick.range->filePath(0)).size();
    const std::string name = row + ('/' + std::to_string(size.width())) + 'x'
        + std::to_string(size.height()) + '/' + kind + (tick.touched ? "/touched" : "/kept");
    sampled(benchmark::RegisterBenchmark(name.c_str(), tickBenchmark, tick), samples,
            size.width() > 1000 ? benchmark::kMillisecond : benchmark::kMicrosecond);
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
        PictureBox &target = range->hole(hole);
        const QPoint spot = target.mapTo(&range->window(), target.rect().center());
        QWindow *window = range->window().windowHandle();
        CaptionFrame &field = range->field();
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

// Notes when each timeout of the timer arrives, before its handlers run.
class ArrivalClock : public QObject
{
public:
    explicit ArrivalClock(const QObject &timer) : m_timer(&timer)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    void restart()
    {
        arrivals.clear();
        m_clock.start();
    }

    QList<double> arrivals; // in milliseconds since the restart

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && watched == m_timer)
            arrivals.append(static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
        return false;
    }

private:
    const QObject *m_timer;
    QElapsedTimer m_clock;
};

void timingBenchmark(benchmark::State &state, Range *range, HeldTimers *held, bool otherCoreBusy)
{
    range->enter();
    range->endWave();
    // This range's wave timer alone fires by itself; the other ranges' waves stay as they are.
    const QTimer &timer = range->game().waveTimer();
    held->letGo(&timer);
    const auto holdAgain = qScopeGuard([held] { held->letGo(nullptr); });
    ArrivalClock clock(timer);
    std::optional<std::jthread> spinner;
    if (otherCoreBusy)
        spinner.emplace([](std::stop_token stop) {
            while (!stop.stop_requested()) { }
        });
    std::vector<double> deviations;
    std::vector<double> lengths;
    for (auto _ : state) {
        for (int wave = 0; wave < timedWaves; ++wave) {
            const QDeadlineTimer deadline(2 * Game::ticksPerWave * Game::tickMilliseconds);
            clock.restart();
            range->window().Start();
            while (range->game().isRunning() && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (clock.arrivals.size() != Game::ticksPerWave)
                return state.SkipWithError("a wave did not end at its twentieth tick");
            double previous = 0;
            for (double arrival : std::as_const(clock.arrivals))
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

void registerRangeBenchmarks(Range &small, Range &medium, Range &baseline, Range &progressive,
                             Range &samples, HeldTimers &held)
{
    for (Range *range : {&small, &medium}) {
        for (const QList<int> &pictures : {QList {0}, QList {0, 1}}) {
            for (bool touched : {true, false})
                registerTick("tick", pictures.size() == 1 ? "one_picture" : "two_pictures",
                             {range, pictures, touched}, 100);
        }
    }
    // A photo's tick meets its hole twice, and both loads count.
    for (const auto &[range, kind] :
         {std::pair {&baseline, "baseline"}, std::pair {&progressive, "progressive"}}) {
        for (bool touched : {false, true})
            registerTick("photo", kind, {range, {0, 0}, touched}, 15);
    }
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
