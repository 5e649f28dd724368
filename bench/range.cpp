#include "range.h"

#include <QImageWriter>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int middleHole = 4;

// Colour ramps and rings with fine grain: a file that costs to decode what a photo of its size
// costs. The seed varies the picture.
QImage photoLike(QSize size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 grain(static_cast<unsigned>(seed));
    const auto level = [&](double value) {
        return qBound(0, int(value) + int(grain() % 25) - 12, 255);
    };
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double fy = double(y) / size.height();
        for (int x = 0; x < size.width(); ++x) {
            const double fx = double(x) / size.width();
            const double ring = 0.5 + 0.5 * std::sin(18 * std::hypot(fx - 0.5, fy - 0.5) + seed);
            row[x] = qRgb(level(255 * fx * ring), level(255 * fy), level(200 * ring));
        }
    }
    return image;
}

} // namespace

void drawPendingFrames()
{
    // A control that was shown asks for its paint only when its posted events are delivered.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void showAndPaint(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qWarning("A window of the benchmark was not shown.");
    drawPendingFrames();
}

Range::Range(QSize pictureSize, int count, Encoding encoding, QSize windowSize)
    : m_encoding(encoding)
{
    QDir(path()).mkpath(u"pix"_s);
    QImageWriter writer(filePath(0), "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(encoding == Encoding::Progressive);
    bool written = writer.write(photoLike(pictureSize, 1));
    for (int number = 1; written && number < count; ++number)
        written = QFile::copy(filePath(0), filePath(number));
    if (!written)
        qFatal("Cannot write the target pictures into %s", qPrintable(path()));
    enter();
    m_window = std::make_unique<FrmMain>(m_game);
    if (windowSize.isValid())
        m_window->resize(windowSize);
    showAndPaint(*m_window);
    if (!waitUntilRead())
        qWarning("The pictures of a range of the benchmark were not read.");
    standTargetIn(middleHole);
}

void Range::standTargetIn(int hole)
{
    // The tick to be measured next must not be the wave's last.
    if (!m_game.isRunning() || m_game.tickCount() >= Game::ticksPerWave - 2) {
        endWave(hole);
        steer(hole);
        m_window->Start();
    } else if (m_game.lastHole() != hole) {
        steer(hole);
        tick();
    }
    if (!QTest::qWaitFor([&] { return m_game.hole(hole).shown(); }, 60'000))
        qWarning("A target of the benchmark was not shown.");
    drawPendingFrames();
}

void Range::endWave(int avoidedHole)
{
    while (m_game.isRunning()) {
        const int next = (m_game.lastHole() + 1) % Game::holeCount;
        steer(next == avoidedHole ? (next + 1) % Game::holeCount : next);
        tick();
    }
}

void Range::steer(int hole)
{
    m_random.push({static_cast<float>(hole) / 8.0f});
}

void Range::tick()
{
    m_game.tick();
}

bool Range::waitUntilRead()
{
    return QTest::qWaitFor([&] { return !m_pictures.isReading(); }, 60'000);
}
