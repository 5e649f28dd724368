#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A box that shows one picture at its top-left corner. With autoSize it takes the size of each
// picture put into it, keeping its top-left corner. A press and release of the left button on
// it is a click; a press of any button never reaches the controls beneath it.
class PictureBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap picture READ picture WRITE setPicture)
    Q_PROPERTY(bool autoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(bool sunkenBorder READ sunkenBorder WRITE setSunkenBorder)

public:
    explicit PictureBox(QWidget *parent = nullptr);

    QPixmap picture() const { return QPixmap::fromImage(m_picture); }
    void setPicture(const QPixmap &picture);
    // The picture as it is drawn, shared rather than copied.
    const QImage &image() const { return m_picture; }
    void setPicture(const QImage &picture);
    // The top-left part of a larger picture: with autoSize the box takes the whole picture's
    // size, in logical pixels.
    void setPicture(const QImage &part, QSize wholeSize);

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    // A two-pixel sunken border around the picture.
    bool sunkenBorder() const { return m_sunkenBorder; }
    void setSunkenBorder(bool sunken);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int borderWidth() const;
    void fitToPicture();

    QImage m_picture;
    QSize m_pictureSize;
    bool m_autoSize = false;
    bool m_sunkenBorder = false;
    bool m_leftPressed = false;
};
