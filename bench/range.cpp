#include "range.h"

#include "captionframe.h"
#include "picturebox.h"

#include <QImageWriter>
#include <QTest>
#include <QTimer>

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

Range::Range(QSize pictureSize, int count, Encoding encoding)
{
    bool written = QDir(path()).mkpath(u"pix"_s);
    for (int number = 0; written && number < count; ++number) {
        QImageWriter writer(filePath(number), "jpeg");
        writer.setQuality(85);
        writer.setProgressiveScanWrite(encoding == Encoding::Progressive);
        written = writer.write(photoLike(pictureSize, number));
    }
    if (!written)
        qFatal("Cannot write the target pictures into %s", qPrintable(path()));
    enter();
    m_window = std::make_unique<FrmMain>(std::make_unique<Game>(m_random, m_loader));
    showAndPaint(*m_window);
    standTargetIn(middleHole);
}

bool Range::touch(int number)
{
    QFile file(filePath(number));
    m_lastTouch = m_lastTouch.addSecs(1);
    return file.open(QIODevice::ReadWrite)
        && file.setFileTime(m_lastTouch, QFileDevice::FileModificationTime);
}

PictureBox &Range::hole(int index) const
{
    return *m_window->findChild<PictureBox *>(u"picHole_%1"_s.arg(index));
}

CaptionFrame &Range::field() const
{
    return *m_window->findChild<CaptionFrame *>(u"fraField"_s);
}

void Range::standTargetIn(int hole)
{
    // The tick to be measured next must not be the wave's last.
    if (!game().isRunning() || game().tickCount() >= Game::ticksPerWave - 2) {
        endWave(hole);
        steer(hole);
        startWave();
    } else if (game().lastHole() != hole) {
        steer(hole);
        tick();
    }
    waitUntilShown(hole);
    drawPendingFrames();
}

void Range::endWave(int avoidedHole)
{
    while (game().isRunning()) {
        const int next = (game().lastHole() + 1) % Game::holeCount;
        steer(next == avoidedHole ? (next + 1) % Game::holeCount : next);
        tick();
    }
}

void Range::startWave()
{
    m_window->Start();
}

void Range::steer(int hole, const QList<int> &pictures)
{
    m_random.push({static_cast<float>(hole) / 8.0f});
    const int count = game().pictureCount();
    for (int number : pictures)
        m_random.push({count > 1 ? static_cast<float>(number) / (count - 1) * 0.999f : 0.0f});
}

void Range::tick()
{
    game().tick();
}

bool Range::waitUntilShown(int hole)
{
    QTimer deadline; // wakes the event loop, should nothing else come
    deadline.setSingleShot(true);
    deadline.start(10'000);
    while (!game().hole(hole).shown() && deadline.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return game().hole(hole).shown();
}
