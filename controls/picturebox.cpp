#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    // Keyboard users reach a picture box with Tab; a mouse click leaves the focus where it is,
    // so shooting at a target does not pull the focus away from the buttons.
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    setPicture(picture.toImage());
}

void PictureBox::setPicture(const QImage &picture)
{
    setPicture(picture, picture.deviceIndependentSize().toSize());
}

void PictureBox::setPicture(const QImage &part, QSize wholeSize)
{
    m_picture = part;
    m_pictureSize = wholeSize;
    if (m_autoSize)
        fitToPicture();
    update();
}

void PictureBox::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize)
        fitToPicture();
}

void PictureBox::setSunkenBorder(bool sunken)
{
    m_sunkenBorder = sunken;
    if (m_autoSize)
        fitToPicture();
    update();
}

QSize PictureBox::sizeHint() const
{
    const int border = borderWidth();
    return m_pictureSize + QSize(2 * border, 2 * border);
}

int PictureBox::borderWidth() const
{
    return m_sunkenBorder ? 2 : 0;
}

void PictureBox::fitToPicture()
{
    if (!m_picture.isNull())
        resize(sizeHint());
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int border = borderWidth();
    if (m_sunkenBorder)
        qDrawWinPanel(&painter, rect(), palette(), true);
    if (!m_picture.isNull()) {
        painter.setClipRect(rect().adjusted(border, border, -border, -border));
        painter.drawImage(border, border, m_picture);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(border, border, -border, -border);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    // The box swallows every press: nothing beneath it sees one.
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Qt reports the second press of a quick double click as a double click; for the player it
    // is one more press like the first.
    mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_leftPressed)
        return;
    m_leftPressed = false;
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureBox::hideEvent(QHideEvent *)
{
    // A press that was under way when the box disappeared never completes a click.
    m_leftPressed = false;
}
