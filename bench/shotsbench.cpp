// Row 2: a hit and a miss, each with its caption update, against a bare QLabel::setText.
#include "benchmarks.h"

#include "benchrange.h"
#include "firstframe.h"
#include "samples.h"
#include "targetfiles.h"

#include "captionframe.h"
#include "picturebox.h"

#include <QLabel>
#include <QTest>
#include <QWindow>

#include <functional>

namespace {

constexpr int targetHole = 4;
// Two hidden holes far apart: a press on either lands on the field, and the miss marker left
// by one press never covers the other spot.
constexpr int missHoles[] = {0, 8};

// How a shot reaches the game: its handler through the control's own signal, or a real press
// and release through the window, hit-tested by Qt and followed by the frame it paints.
enum class Path { Handler, Mouse };

// Every caption shows a number, as in a game under way: a score caption that changes is drawn
// over the edges of its neighbours.
void showMidGameScore(BenchRange &range)
{
    range.showScore(QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("80%"));
}

// The floor: a shown label whose caption changes, as the score captions do.
class BareLabel
{
public:
    BareLabel() { showUntilFirstFrame(m_label); }
    void setNextText()
    {
        m_label.setText(m_texts[m_turn % 2]);
        ++m_turn;
    }

private:
    QLabel m_label {QStringLiteral("1")};
    const QString m_texts[2] = {QStringLiteral("1234"), QStringLiteral("1235")};
    long m_turn = 0;
};

void hitBenchmark(benchmark::State &state, const TargetFolder *folder, Path path)
{
    folder->enter();
    BenchRange range;
    BareLabel label;
    showMidGameScore(range);
    range.standTargetIn(targetHole);
    range.field().setEnabled(true);
    PictureBox &target = range.hole(targetHole);
    QWindow &window = *range.window().windowHandle();
    const QPoint spot = range.holeCentreInWindow(targetHole);
    const std::function<void()> shot = path == Path::Handler
        ? std::function<void()>([&] { emit target.clicked(); })
        : std::function<void()>([&] { QTest::mouseClick(&window, Qt::LeftButton, {}, spot); });
    PairedSamples samples;
    for (auto _ : state) {
        samples.measure(state, shot, [&] { label.setNextText(); });
        drawPendingFrames();
    }
    samples.report(state);
}

void missBenchmark(benchmark::State &state, const TargetFolder *folder, Path path)
{
    folder->enter();
    BenchRange range;
    BareLabel label;
    showMidGameScore(range);
    range.standTargetIn(-1);
    CaptionFrame &field = range.field();
    field.setEnabled(true);
    QWindow &window = *range.window().windowHandle();
    QPoint windowSpots[2];
    QPointF fieldSpots[2];
    for (int i = 0; i < 2; ++i) {
        windowSpots[i] = range.holeCentreInWindow(missHoles[i]);
        fieldSpots[i] = field.mapFrom(&range.window(), windowSpots[i]);
    }
    // Presses alternate between the two spots.
    std::size_t spot = 0;
    const std::function<void()> shot = path == Path::Handler
        ? std::function<void()>(
            [&] { emit field.pressed(Qt::LeftButton, Qt::NoModifier, fieldSpots[spot]); })
        : std::function<void()>(
            [&] { QTest::mouseClick(&window, Qt::LeftButton, {}, windowSpots[spot]); });
    PairedSamples samples;
    for (auto _ : state) {
        samples.measure(state, shot, [&] { label.setNextText(); });
        drawPendingFrames();
        spot = 1 - spot;
    }
    samples.report(state);
}

} // namespace

void registerShotBenchmarks(const TargetFolder *folder)
{
    const auto timed = [](benchmark::internal::Benchmark *benchmark) {
        benchmark->UseManualTime()->Unit(benchmark::kMicrosecond);
    };
    timed(benchmark::RegisterBenchmark("hit/handler", hitBenchmark, folder, Path::Handler));
    timed(benchmark::RegisterBenchmark("hit/mouse", hitBenchmark, folder, Path::Mouse));
    timed(benchmark::RegisterBenchmark("miss/handler", missBenchmark, folder, Path::Handler));
    timed(benchmark::RegisterBenchmark("miss/mouse", missBenchmark, folder, Path::Mouse));
}
