#include "captionframe.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace {
// Where the caption starts, and the blank kept on either side of it in the border line.
constexpr int captionIndent = 8;
constexpr int captionPadding = 2;
// The etched border: a shadow line and a light line, one pixel each; one pixel more keeps the
// test on the safe side where a fractional screen scale rounds the exposed area outwards.
constexpr int borderMargin = 3;
} // namespace

CaptionFrame::CaptionFrame(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void CaptionFrame::setTitle(const QString &title)
{
    m_title = title;
    update();
}

void CaptionFrame::paintEvent(QPaintEvent *event)
{
    // Only the parts that the exposed area touches are drawn. A target that comes and goes, or
    // a miss marker that moves, exposes a small square inside the frame, away from the border
    // and the caption: then there is nothing to draw (the background is filled already), and
    // the caption's text is not laid out again.
    const QRect exposed = event->rect();
    const QFontMetrics metrics = fontMetrics();
    const int borderTop = m_title.isEmpty() ? 0 : metrics.height() / 2;
    const QRect border = rect().adjusted(0, borderTop, 0, 0);
    const QRect inside = border.adjusted(borderMargin, borderMargin, -borderMargin, -borderMargin);
    const bool drawBorder = !inside.contains(exposed);
    const bool drawCaption =
        !m_title.isEmpty() && exposed.intersects(QRect(0, 0, width(), metrics.height()));
    if (!drawBorder && !drawCaption)
        return;

    QPainter painter(this);
    if (drawBorder)
        qDrawShadeRect(&painter, border, palette(), true, 1);
    if (!drawCaption)
        return;

    const QRect captionRect(captionIndent, 0,
                            metrics.horizontalAdvance(m_title) + 2 * captionPadding,
                            metrics.height());
    painter.fillRect(captionRect, palette().brush(QPalette::Window));
    // The caption keeps its colour while the frame is disabled: the frame is disabled for long
    // stretches and must still read the same.
    painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, m_title);
}

void CaptionFrame::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(event->position());
}

void CaptionFrame::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a quick double click is a press like any other.
    mousePressEvent(event);
}
