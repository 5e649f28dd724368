#include "benchrange.h"

#include "firstframe.h"

#include "captionframe.h"
#include "picturebox.h"

#include <QLabel>
#include <QTimer>

BenchRange::BenchRange()
    : m_window(std::make_unique<FrmMain>(RangeServices {m_random, m_files, m_loader})),
      m_timer(m_window->findChild<QTimer *>(QStringLiteral("tmr1"))),
      m_timeout(QMetaMethod::fromSignal(&QTimer::timeout))
{
    showUntilFirstFrame(*m_window);
}

BenchRange::~BenchRange() = default;

PictureBox &BenchRange::hole(int index) const
{
    return *m_window->findChild<PictureBox *>(QStringLiteral("picHole_%1").arg(index));
}

CaptionFrame &BenchRange::field() const
{
    return *m_window->findChild<CaptionFrame *>(QStringLiteral("fraField"));
}

void BenchRange::standTargetIn(int index)
{
    for (int other = 0; other < 9; ++other)
        hole(other).setVisible(other == index);
    drawPendingFrames();
}

void BenchRange::showScore(const QString &hits, const QString &misses, const QString &precision)
{
    m_window->findChild<QLabel *>(QStringLiteral("lblOut"))->setText(hits);
    m_window->findChild<QLabel *>(QStringLiteral("lblMiss"))->setText(misses);
    m_window->findChild<QLabel *>(QStringLiteral("lblTotal"))->setText(precision);
    drawPendingFrames();
}

void BenchRange::tick()
{
    m_timeout.invoke(m_timer, Qt::DirectConnection);
}

QPoint BenchRange::holeCentreInWindow(int index) const
{
    const PictureBox &box = hole(index);
    return box.mapTo(m_window.get(), QPoint(box.width() / 2, box.height() / 2));
}
