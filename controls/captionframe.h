#pragma once

#include <QPointF>
#include <QWidget>

// A frame with an etched border whose caption sits in the border's top line, over a background
// filled with the palette's window colour. It contains nothing and reports every mouse press on
// it, caption strip and border included, with the position in its own logical pixels. While it
// is disabled Qt delivers it no presses.
class CaptionFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString title READ title WRITE setTitle)

public:
    explicit CaptionFrame(QWidget *parent = nullptr);

    QString title() const { return m_title; }
    void setTitle(const QString &title);

signals:
    // Any mouse button, at a position in the frame's own logical pixels.
    void pressed(QPointF position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_title;
};
