#include "captionframe.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

namespace {
// Where the caption starts, and the blank kept on either side of it in the border line.
constexpr int captionIndent = 8;
constexpr int captionPadding = 2;
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

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int borderTop = m_title.isEmpty() ? 0 : metrics.height() / 2;
    qDrawShadeRect(&painter, rect().adjusted(0, borderTop, 0, 0), palette(), true, 1);
    if (m_title.isEmpty())
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
    emit pressed(event->button(), event->modifiers(), event->position());
}

void CaptionFrame::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a quick double click is a press like any other.
    mousePressEvent(event);
}
