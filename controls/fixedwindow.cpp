#include "fixedwindow.h"

#include "systemcolours.h"
#include "windowframe.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {
constexpr int borderWidth = 1;
// Between the title bar's edges and what it shows, and between the icon and the caption.
constexpr int titleSpacing = 4;
constexpr int iconSize = 16;

// The caption's font: the desktop's own, bold.
QFont titleFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    return font;
}

QMargins ownFrame()
{
    if (!windowSystemLeavesFramesToPrograms())
        return {};
    const int titleHeight = QFontMetrics(titleFont()).height() + 3 * titleSpacing;
    return {borderWidth, borderWidth + titleHeight, borderWidth, borderWidth};
}

Qt::WindowFlags frameFlags()
{
    // A title bar asked for is a frame asked for: Qt then drops the frameless hint.
    if (windowSystemLeavesFramesToPrograms())
        return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
}
} // namespace

FixedWindow::FixedWindow(QWidget *parent, Role role)
    : QWidget(parent, frameFlags()), m_role(role), m_frame(ownFrame())
{
}

void FixedWindow::fixGeometry()
{
    if (!m_frame.isNull()) {
        for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            control->move(control->pos() + QPoint(m_frame.left(), m_frame.top()));
        setContentsMargins(m_frame);
        resize(size().grownBy(m_frame));
    }
    setFixedSize(size());
    centreOnScreen(*this);
}

QRect FixedWindow::titleBar() const
{
    return QRect(borderWidth, borderWidth, width() - 2 * borderWidth, m_frame.top() - borderWidth);
}

QRect FixedWindow::closeBox() const
{
    const QRect bar = titleBar();
    const int side = bar.height() - 2 * titleSpacing;
    return QRect(bar.right() - titleSpacing - side + 1, bar.top() + titleSpacing, side, side);
}

void FixedWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The title bar shows the caption, and whether the window is the active one.
    if (!m_frame.isNull()
        && (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange
            || event->type() == QEvent::WindowIconChange))
        update(titleBar());
}

void FixedWindow::paintEvent(QPaintEvent *event)
{
    if (m_frame.isNull() || contentsRect().contains(event->rect()))
        return;
    QPainter painter(this);
    const QRect bar = titleBar();
    // In the theme's colours for an active or an inactive window, the caption where it reads.
    const QPalette::ColorGroup group = isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    const QColor face = palette().color(group, QPalette::Button);
    const QColor ink = readableOn(face, palette().color(group, QPalette::ButtonText));
    painter.fillRect(bar, face);
    const QRegion border = QRegion(rect())
        - rect().marginsRemoved({borderWidth, borderWidth, borderWidth, borderWidth});
    for (const QRect &line : border)
        painter.fillRect(line, palette().color(group, QPalette::Dark));

    QRect caption = bar.adjusted(titleSpacing, 0, 0, 0);
    caption.setRight(closeBox().left() - titleSpacing);
    if (const QIcon icon = windowIcon(); !icon.isNull()) {
        icon.paint(&painter,
                   QRect(caption.left(), bar.center().y() - iconSize / 2 + 1, iconSize, iconSize));
        caption.setLeft(caption.left() + iconSize + titleSpacing);
    }
    // The caption as it is spelled, from the left: leading blanks place it as they are meant to.
    painter.setFont(titleFont());
    painter.setPen(ink);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, windowTitle());

    // The close box: a cross.
    const QRectF cross = QRectF(closeBox()).adjusted(4, 4, -4, -4);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.bottomLeft(), cross.topRight());
}

void FixedWindow::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (m_frame.isNull() || event->button() != Qt::LeftButton || !titleBar().contains(at)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_closePressed = closeBox().contains(at);
    if (!m_closePressed)
        windowHandle()->startSystemMove();
}

void FixedWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const bool close = m_closePressed && event->button() == Qt::LeftButton
        && closeBox().contains(event->position().toPoint());
    m_closePressed = false;
    if (close)
        this->close();
    else
        QWidget::mouseReleaseEvent(event);
}
