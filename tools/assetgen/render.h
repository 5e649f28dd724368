#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRandomGenerator>
#include <QString>

#include <functional>

// Paints a picture at `factor` times its size with the painter scaled to match, so the paint
// function draws in the picture's own pixel units, then scales it down smoothly. This gives
// small pictures clean edges and fine detail.
QImage renderSupersampled(int width, int height, int factor, const QColor &background,
                          const std::function<void(QPainter &)> &paint);

// A path written as SVG path data with absolute commands, the coordinates of a point joined by a
// comma: M x,y (move to), L x,y (line to), Q x1,y1 x,y and C x1,y1 x2,y2 x,y (quadratic and cubic
// curves to x,y), Z (close).
QPainterPath svgPath(const char *data);

// An ellipse around a centre point, as a path.
QPainterPath ellipsePath(QPointF centre, double radiusX, double radiusY);

// A number drawn evenly from [low, high). A QRandomGenerator with a fixed seed gives the same
// numbers with every compiler and library, so the pictures come out the same.
inline double uniform(QRandomGenerator &random, double low, double high)
{
    return low + random.bounded(high - low);
}

// Saves the picture with Qt's writer for the format: "bmp" (24-bit colour for an RGB picture),
// "jpg" (baseline JFIF) or "png" (with an alpha channel only when the picture has one). A
// quality of -1 is the writer's default.
void save(const QImage &picture, const QString &path, const char *format, int quality = -1);
