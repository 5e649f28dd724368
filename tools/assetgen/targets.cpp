#include "pictures.h"
#include "render.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>
#include <cmath>
#include <numbers>

// The target pictures: the one shown when a player's own picture cannot be loaded and the ten
// sample targets shipped with the game. Each sample stands on its own coloured background.

namespace {

constexpr int targetSize = 81;
constexpr int oversampling = 4;

void fillBackground(QPainter &painter, const QColor &top, const QColor &bottom)
{
    QLinearGradient sky(0, 0, 0, targetSize);
    sky.setStops({{0.0, top}, {1.0, bottom}});
    painter.fillRect(QRectF(0, 0, targetSize, targetSize), sky);
}

void paintStars(QPainter &painter, quint32 seed, int count)
{
    QRandomGenerator random(seed);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(uniform(random, 1, targetSize - 1), uniform(random, 1, targetSize - 1));
        const double radius = uniform(random, 0.25, 0.75);
        painter.setBrush(QColor(255, 255, 230, random.bounded(140, 255)));
        painter.drawEllipse(at, radius, radius);
    }
}

void paintCloud(QPainter &painter, QPointF at, double size, int alpha)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, alpha));
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    cloud.addEllipse(at, size, size * 0.55);
    cloud.addEllipse(at + QPointF(-size * 0.7, size * 0.15), size * 0.6, size * 0.4);
    cloud.addEllipse(at + QPointF(size * 0.75, size * 0.12), size * 0.65, size * 0.42);
    painter.drawPath(cloud.simplified());
}

// A horizontal shading across a round object: dark edges, a bright band left of the middle.
QLinearGradient roundShade(double left, double right, const QColor &edge, const QColor &middle,
                           const QColor &shine)
{
    QLinearGradient shade(left, 0, right, 0);
    shade.setStops({{0.0, edge}, {0.28, shine}, {0.45, middle}, {1.0, edge.darker(130)}});
    return shade;
}

void paintTinCan(QPainter &painter)
{
    fillBackground(painter, QColor(110, 180, 245), QColor(200, 232, 255));
    paintCloud(painter, QPointF(62, 14), 8, 200);
    // The fence rail it stands on.
    painter.fillRect(QRectF(0, 62, targetSize, 19), QColor(150, 100, 56));
    painter.fillRect(QRectF(0, 62, targetSize, 2.5), QColor(196, 146, 92));
    painter.setPen(QPen(QColor(110, 70, 38), 0.6));
    painter.drawLine(QPointF(0, 70), QPointF(81, 71));
    painter.drawLine(QPointF(0, 76), QPointF(81, 75.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawEllipse(QPointF(46, 63.5), 17, 3);

    const double left = 25, right = 55, top = 20, bottom = 63;
    painter.setBrush(roundShade(left, right, QColor(120, 124, 130), QColor(200, 204, 210),
                                QColor(245, 247, 250)));
    painter.drawRect(QRectF(left, top, right - left, bottom - top));
    painter.drawEllipse(QPointF(40, bottom), 15, 3.5);
    // The label.
    painter.setBrush(
        roundShade(left, right, QColor(130, 14, 20), QColor(214, 30, 36), QColor(255, 96, 90)));
    painter.drawRect(QRectF(left, 28, right - left, 28));
    painter.setBrush(roundShade(left, right, QColor(180, 170, 150), QColor(246, 240, 224),
                                QColor(255, 255, 250)));
    painter.drawRect(QRectF(left, 37, right - left, 9));
    painter.setBrush(QColor(214, 30, 36));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double radius = i % 2 == 0 ? 4.0 : 1.7;
        star << QPointF(38 + radius * std::cos(angle), 41.5 + radius * std::sin(angle));
    }
    painter.drawPolygon(star);
    // Ridges and the lid.
    painter.setPen(QPen(QColor(90, 94, 100, 160), 0.5));
    for (const double y : {23.0, 25.5, 58.5, 61.0})
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    painter.setPen(QPen(QColor(110, 114, 120), 0.8));
    painter.setBrush(QColor(220, 224, 228));
    painter.drawEllipse(QPointF(40, top), 15, 3.5);
    painter.setBrush(QColor(176, 180, 186));
    painter.drawEllipse(QPointF(40, top + 0.3), 12.5, 2.5);
    painter.setPen(QPen(QColor(90, 94, 100), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(45, top), 3, 1.0);
}

void paintBottle(QPainter &painter)
{
    fillBackground(painter, QColor(255, 206, 140), QColor(236, 140, 84));
    painter.fillRect(QRectF(0, 66, targetSize, 15), QColor(120, 74, 40));
    painter.fillRect(QRectF(0, 66, targetSize, 2), QColor(170, 116, 70));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawEllipse(QPointF(46, 67), 14, 2.5);

    const QPainterPath bottle =
        svgPath("M36,8 L44,8 L44,24 C44,30 52,31 52,40 L52,63 C52,66.5 50,67 47,67 L33,67 "
                "C30,67 28,66.5 28,63 L28,40 C28,31 36,30 36,24 Z");
    painter.setBrush(
        roundShade(28, 52, QColor(8, 70, 30), QColor(30, 140, 62), QColor(110, 210, 130)));
    painter.setPen(QPen(QColor(6, 50, 20), 0.7));
    painter.drawPath(bottle);
    painter.setPen(Qt::NoPen);
    // Cap, label and the gleam of the glass.
    painter.setBrush(
        roundShade(35, 45, QColor(140, 100, 10), QColor(220, 180, 50), QColor(255, 236, 140)));
    painter.drawRoundedRect(QRectF(35, 6, 10, 6), 1, 1);
    painter.setBrush(
        roundShade(28, 52, QColor(190, 176, 140), QColor(246, 236, 206), QColor(255, 252, 236)));
    painter.drawRect(QRectF(28.3, 43, 23.4, 15));
    painter.setBrush(QColor(196, 40, 36));
    painter.drawEllipse(QPointF(40, 50.5), 6.5, 4.5);
    painter.setBrush(QColor(255, 230, 150));
    painter.drawEllipse(QPointF(40, 50.5), 3, 2);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawRoundedRect(QRectF(31, 35, 2.2, 7), 1, 1);
    painter.drawRoundedRect(QRectF(31, 59, 2.2, 5), 1, 1);
    painter.drawRoundedRect(QRectF(38, 14, 1.6, 9), 0.8, 0.8);
}

void paintClayPigeon(QPainter &painter)
{
    fillBackground(painter, QColor(70, 150, 230), QColor(176, 216, 248));
    paintCloud(painter, QPointF(18, 62), 12, 190);
    paintCloud(painter, QPointF(66, 16), 7, 150);
    // Speed lines behind it.
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double y = 40 + i * 4.0;
        painter.drawLine(QPointF(4 + i * 3, y + 10), QPointF(22 + i * 2, y + 2));
    }

    painter.translate(46, 38);
    painter.rotate(-14);
    painter.setPen(Qt::NoPen);
    QLinearGradient side(-24, 0, 24, 0);
    side.setStops(
        {{0.0, QColor(150, 50, 10)}, {0.4, QColor(220, 90, 20)}, {1.0, QColor(130, 40, 8)}});
    painter.setBrush(side);
    QPainterPath rim = ellipsePath(QPointF(0, 5), 24, 9);
    rim.addRect(QRectF(-24, 0, 48, 5));
    painter.drawPath(rim.simplified());
    QRadialGradient top(QPointF(-6, -3), 26);
    top.setStops({{0.0, QColor(255, 170, 80)}, {1.0, QColor(236, 96, 16)}});
    painter.setBrush(top);
    painter.drawEllipse(QPointF(0, 0), 24, 9);
    painter.setBrush(Qt::NoBrush);
    for (const double scale : {0.8, 0.6}) {
        painter.setPen(QPen(QColor(180, 60, 10), 0.8));
        painter.drawEllipse(QPointF(0, 0.3), 24 * scale, 9 * scale);
        painter.setPen(QPen(QColor(255, 200, 140), 0.6));
        painter.drawEllipse(QPointF(0, -0.3), 24 * scale, 9 * scale);
    }
    QRadialGradient dome(QPointF(-2, -2), 10);
    dome.setStops({{0.0, QColor(255, 210, 150)}, {1.0, QColor(240, 110, 30)}});
    painter.setPen(QPen(QColor(170, 60, 10), 0.6));
    painter.setBrush(dome);
    painter.drawEllipse(QPointF(0, -0.5), 8, 3.2);
}

void paintRubberDuck(QPainter &painter)
{
    fillBackground(painter, QColor(150, 220, 236), QColor(40, 130, 176));
    painter.setPen(Qt::NoPen);
    // The duck's reflection, broken by the ripples.
    painter.setBrush(QColor(230, 200, 40, 110));
    painter.drawEllipse(QPointF(40, 66), 22, 6);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 150), 0.8));
    for (const double r : {26.0, 31.0, 36.0})
        painter.drawArc(QRectF(40 - r, 62 - r * 0.22, 2 * r, 2 * r * 0.22), 190 * 16, 160 * 16);

    // Body and tail.
    const QPainterPath body =
        svgPath("M16,44 C13,36 17,33 21,40 C28,40 52,36 60,44 C66,50 62,64 44,64 "
                "C26,64 17,58 16,44");
    QRadialGradient yellow(QPointF(34, 44), 30);
    yellow.setStops(
        {{0.0, QColor(255, 240, 110)}, {0.6, QColor(255, 212, 0)}, {1.0, QColor(214, 150, 0)}});
    painter.setPen(QPen(QColor(170, 110, 0), 0.7));
    painter.setBrush(yellow);
    painter.drawPath(body);
    // Wing.
    const QPainterPath wing = svgPath("M30,47 C34,43 44,43 47,48 C44,55 34,56 30,47");
    painter.setBrush(QColor(250, 190, 0));
    painter.drawPath(wing);
    // Head.
    QRadialGradient headShade(QPointF(46, 24), 16);
    headShade.setStops(
        {{0.0, QColor(255, 244, 130)}, {0.7, QColor(255, 212, 0)}, {1.0, QColor(220, 160, 0)}});
    painter.setBrush(headShade);
    painter.drawEllipse(QPointF(49, 28), 12.5, 12);
    // Beak.
    painter.setPen(QPen(QColor(190, 80, 0), 0.6));
    painter.setBrush(QColor(255, 130, 20));
    const QPainterPath beak = svgPath("M58,29 C63,25 69,26 70,29.5 C66,31 62,31 58,31.5 Z");
    painter.drawPath(beak);
    const QPainterPath lower = svgPath("M58,31.5 C63,31.5 67,31.5 68,33 C64,35.5 60,35 58,33.5 Z");
    painter.setBrush(QColor(236, 100, 10));
    painter.drawPath(lower);
    // Eye.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 30));
    painter.drawEllipse(QPointF(53, 23.5), 2.4, 2.8);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(53.8, 22.5), 0.9, 0.9);
    painter.setBrush(QColor(255, 255, 255, 140));
    painter.drawEllipse(QPointF(44, 21), 3, 2);
}

void paintBalloon(QPainter &painter)
{
    fillBackground(painter, QColor(255, 226, 236), QColor(196, 214, 252));
    paintCloud(painter, QPointF(16, 20), 8, 220);
    paintCloud(painter, QPointF(68, 58), 9, 220);
    // The string.
    const QPainterPath string = svgPath("M40,60 C35,66 46,71 40,77 C37,80 40,82 41,84");
    painter.setPen(QPen(QColor(90, 90, 110), 0.7));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(string);

    const QPainterPath balloon =
        svgPath("M40,58 C26,52 18,40 18,30 C18,17 28,8 40,8 C52,8 62,17 62,30 "
                "C62,40 54,52 40,58");
    QRadialGradient rubber(QPointF(32, 22), 34);
    rubber.setStops(
        {{0.0, QColor(255, 110, 110)}, {0.5, QColor(230, 30, 44)}, {1.0, QColor(140, 0, 20)}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(rubber);
    painter.drawPath(balloon);
    painter.setBrush(QColor(190, 10, 30));
    QPolygonF knot;
    knot << QPointF(40, 57) << QPointF(43, 61) << QPointF(37, 61);
    painter.drawPolygon(knot);
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.save();
    painter.translate(30, 19);
    painter.rotate(-35);
    painter.drawEllipse(QPointF(0, 0), 3, 6);
    painter.restore();
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawEllipse(QPointF(27.5, 28), 1.2, 1.6);
}

void paintAlien(QPainter &painter)
{
    fillBackground(painter, QColor(54, 16, 92), QColor(12, 2, 36));
    paintStars(painter, 5, 40);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 120, 255, 90));
    painter.drawEllipse(QPointF(66, 14), 7, 7);

    // Antennae.
    painter.setPen(QPen(QColor(80, 170, 70), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(33, 18), QPointF(26, 6));
    painter.drawLine(QPointF(47, 18), QPointF(54, 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 240, 80));
    painter.drawEllipse(QPointF(26, 6), 2.4, 2.4);
    painter.drawEllipse(QPointF(54, 6), 2.4, 2.4);
    // Shoulders in a silver suit.
    painter.setBrush(
        roundShade(14, 66, QColor(90, 100, 120), QColor(180, 190, 210), QColor(235, 240, 250)));
    painter.drawRoundedRect(QRectF(14, 68, 52, 24), 10, 10);
    // Head: a big round skull over a small chin.
    const QPainterPath head =
        svgPath("M40,72 C30,72 16,52 16,38 C16,22 27,15 40,15 C53,15 64,22 64,38 "
                "C64,52 50,72 40,72");
    QRadialGradient green(QPointF(34, 30), 36);
    green.setStops(
        {{0.0, QColor(170, 250, 140)}, {0.6, QColor(90, 200, 80)}, {1.0, QColor(40, 120, 40)}});
    painter.setBrush(green);
    painter.drawPath(head);
    // Big slanted eyes.
    for (const int side : {-1, 1}) {
        painter.save();
        painter.translate(40 + side * 10.5, 42);
        painter.rotate(side * 28);
        painter.setBrush(QColor(14, 10, 24));
        painter.drawEllipse(QPointF(0, 0), 8, 5);
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawEllipse(QPointF(-side * 2.5, -1.8), 1.8, 1.2);
        painter.restore();
    }
    // Nostrils and a little smile.
    painter.setBrush(QColor(30, 90, 30));
    painter.drawEllipse(QPointF(38.8, 52), 0.6, 0.5);
    painter.drawEllipse(QPointF(41.2, 52), 0.6, 0.5);
    painter.setPen(QPen(QColor(30, 80, 30), 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(35, 53, 10, 6), 200 * 16, 140 * 16);
}

void paintArcheryTarget(QPainter &painter)
{
    fillBackground(painter, QColor(150, 206, 250), QColor(220, 240, 255));
    painter.fillRect(QRectF(0, 62, targetSize, 19), QColor(84, 160, 64));
    painter.fillRect(QRectF(0, 62, targetSize, 1.5), QColor(130, 196, 100));
    // The easel.
    painter.setPen(QPen(QColor(110, 70, 36), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(28, 50), QPointF(20, 76));
    painter.drawLine(QPointF(52, 50), QPointF(60, 76));
    painter.drawLine(QPointF(40, 50), QPointF(40, 72));
    // The straw boss and the face with its five colours.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(214, 186, 110));
    painter.drawEllipse(QPointF(40, 36), 31, 31);
    painter.setPen(QPen(QColor(180, 150, 80), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(40, 36), 29.5, 29.5);
    const std::array<QColor, 5> colours {QColor(248, 248, 244), QColor(30, 30, 34),
                                         QColor(40, 150, 230), QColor(230, 40, 40),
                                         QColor(255, 220, 40)};
    for (int ring = 0; ring < 10; ++ring) {
        const double radius = 28.0 - ring * 2.8;
        const QColor colour = colours[static_cast<size_t>(ring / 2)];
        painter.setPen(QPen(ring / 2 == 1 ? QColor(200, 200, 200) : QColor(20, 20, 20, 120), 0.35));
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(40, 36), radius, radius);
    }
    painter.setPen(QPen(QColor(20, 20, 20), 0.4));
    painter.drawLine(QPointF(39.4, 36), QPointF(40.6, 36));
    painter.drawLine(QPointF(40, 35.4), QPointF(40, 36.6));
}

void paintPaperTarget(QPainter &painter)
{
    fillBackground(painter, QColor(120, 104, 84), QColor(84, 70, 56));
    // Planks of the backstop.
    painter.setPen(QPen(QColor(70, 58, 46), 0.8));
    for (const double x : {9.0, 27.0, 45.0, 63.0})
        painter.drawLine(QPointF(x, 0), QPointF(x, targetSize));

    painter.save();
    painter.translate(40.5, 42);
    painter.rotate(2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 80));
    painter.drawRect(QRectF(-24, -34, 50, 72));
    painter.setBrush(QColor(246, 243, 232));
    painter.drawRect(QRectF(-26, -36, 50, 72));
    // The silhouette: head and shoulders.
    painter.setBrush(QColor(24, 24, 28));
    painter.drawEllipse(QPointF(-1, -19), 7.5, 9);
    const QPainterPath torso =
        svgPath("M-5,-10 L3,-10 C5,-6 8,-5 16,-3 C20,-2 21,4 21,8 L21,33 L-23,33 L-23,8 "
                "C-23,4 -22,-2 -18,-3 C-10,-5 -7,-6 -5,-10");
    painter.drawPath(torso);
    // Scoring rings.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(246, 243, 232), 0.8));
    for (const double r : {4.0, 8.0, 12.0, 16.0})
        painter.drawEllipse(QPointF(-1, 13), r * 0.85, r);
    painter.drawEllipse(QPointF(-1, -19), 3.2, 3.8);
    painter.setBrush(QColor(220, 40, 36));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(-1, 13), 2.2, 2.5);
    painter.restore();
    // Bulldog clips at the top corners.
    painter.setBrush(QColor(60, 64, 70));
    painter.setPen(QPen(QColor(200, 204, 210), 0.6));
    for (const double x : {18.0, 60.0}) {
        painter.drawRoundedRect(QRectF(x - 4, 3, 8, 5), 1, 1);
        painter.drawLine(QPointF(x - 2.5, 3), QPointF(x - 3.5, -1));
        painter.drawLine(QPointF(x + 2.5, 3), QPointF(x + 3.5, -1));
    }
}

void paintCactusBandit(QPainter &painter)
{
    fillBackground(painter, QColor(255, 150, 90), QColor(255, 214, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 236, 170));
    painter.drawEllipse(QPointF(64, 52), 11, 11);
    // Far mesas, then the sand.
    painter.setBrush(QColor(190, 100, 90));
    QPolygonF mesa;
    mesa << QPointF(0, 62) << QPointF(0, 52) << QPointF(6, 52) << QPointF(9, 47) << QPointF(20, 47)
         << QPointF(23, 53) << QPointF(58, 55) << QPointF(62, 50) << QPointF(72, 50)
         << QPointF(75, 56) << QPointF(81, 56) << QPointF(81, 62);
    painter.drawPolygon(mesa);
    QLinearGradient sand(0, 60, 0, 81);
    sand.setStops({{0.0, QColor(236, 186, 110)}, {1.0, QColor(200, 140, 76)}});
    painter.setBrush(sand);
    painter.drawRect(QRectF(0, 60, targetSize, 21));

    // The cactus with its arms.
    const QColor green(66, 150, 70);
    const QColor darkGreen(36, 100, 44);
    painter.setPen(QPen(darkGreen, 0.8));
    painter.setBrush(roundShade(30, 50, darkGreen, green, QColor(120, 200, 110)));
    const QPainterPath arms =
        svgPath("M34,56 L24,56 Q18,56 18,50 L18,41 M46,48 L56,48 Q62,48 62,42 L62,33");
    QPainterPathStroker stroker;
    stroker.setWidth(8);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath cactus = stroker.createStroke(arms);
    cactus.addRoundedRect(QRectF(30, 24, 20, 52), 10, 10);
    cactus.setFillRule(Qt::WindingFill);
    painter.drawPath(cactus.simplified());
    painter.setPen(QPen(QColor(40, 110, 48), 0.6));
    for (const double x : {35.0, 40.0, 45.0})
        painter.drawLine(QPointF(x, 46), QPointF(x, 74));
    painter.setPen(QPen(QColor(250, 250, 220), 0.5));
    QRandomGenerator random(8);
    for (int i = 0; i < 26; ++i) {
        const QPointF at(uniform(random, 31, 49), uniform(random, 48, 74));
        painter.drawLine(at, at + QPointF(uniform(random, -1.2, 1.2), -0.8));
    }
    // The bandana over the face, eyes peering through the mask, and a black hat.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 24));
    painter.drawRect(QRectF(30.5, 30, 19, 6));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(36, 33), 2.2, 1.8);
    painter.drawEllipse(QPointF(44, 33), 2.2, 1.8);
    painter.setBrush(QColor(20, 20, 24));
    painter.drawEllipse(QPointF(36.6, 33.2), 1.0, 1.0);
    painter.drawEllipse(QPointF(44.6, 33.2), 1.0, 1.0);
    const QPainterPath scarf = svgPath("M30,38 L50,38 L50,44 L40,50 L30,44 Z");
    painter.setBrush(QColor(200, 30, 36));
    painter.drawPath(scarf);
    painter.setBrush(QColor(255, 255, 255, 200));
    for (const QPointF dot : {QPointF(34, 41), QPointF(40, 44), QPointF(46, 41), QPointF(40, 40)})
        painter.drawEllipse(dot, 0.7, 0.7);
    painter.setBrush(QColor(40, 28, 20));
    painter.drawEllipse(QPointF(40, 25), 17, 3.2);
    const QPainterPath crown =
        svgPath("M31,25 C31,14 34,11 37,13 C39,14 41,14 43,13 C46,11 49,14 49,25 Z");
    painter.drawPath(crown);
    painter.setBrush(QColor(170, 110, 50));
    painter.drawRect(QRectF(31, 21.5, 18, 2.2));
}

void paintFlyingSaucer(QPainter &painter)
{
    fillBackground(painter, QColor(8, 14, 48), QColor(34, 44, 104));
    paintStars(painter, 9, 45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 246, 210));
    QPainterPath moon = ellipsePath(QPointF(14, 14), 7, 7);
    moon = moon.subtracted(ellipsePath(QPointF(17, 12), 6.5, 6.5));
    painter.drawPath(moon);
    // The tractor beam.
    QLinearGradient beam(0, 40, 0, 81);
    beam.setStops({{0.0, QColor(200, 255, 140, 170)}, {1.0, QColor(200, 255, 140, 20)}});
    painter.setBrush(beam);
    QPolygonF cone;
    cone << QPointF(34, 42) << QPointF(48, 42) << QPointF(66, 81) << QPointF(16, 81);
    painter.drawPolygon(cone);

    // The glass dome with its pilot.
    QRadialGradient glass(QPointF(37, 24), 16);
    glass.setStops({{0.0, QColor(200, 250, 255, 230)}, {1.0, QColor(60, 170, 210, 220)}});
    painter.setBrush(glass);
    painter.drawChord(QRectF(27, 18, 28, 30), 0, 180 * 16);
    painter.setBrush(QColor(90, 200, 80));
    painter.drawEllipse(QPointF(41, 29), 4, 4.5);
    painter.setBrush(QColor(10, 10, 20));
    painter.drawEllipse(QPointF(39.5, 29), 1.2, 1.6);
    painter.drawEllipse(QPointF(42.5, 29), 1.2, 1.6);
    painter.setBrush(QColor(255, 255, 255, 160));
    painter.drawEllipse(QPointF(34, 24), 2.5, 1.5);
    // The hull and its lights.
    QLinearGradient metal(0, 28, 0, 44);
    metal.setStops(
        {{0.0, QColor(236, 240, 246)}, {0.5, QColor(160, 168, 184)}, {1.0, QColor(70, 76, 92)}});
    painter.setPen(QPen(QColor(50, 54, 66), 0.6));
    painter.setBrush(metal);
    painter.drawEllipse(QPointF(41, 36), 31, 8);
    painter.setBrush(QColor(90, 96, 112));
    painter.drawEllipse(QPointF(41, 41), 14, 3.2);
    painter.setPen(Qt::NoPen);
    const std::array<QColor, 3> lights {QColor(255, 230, 60), QColor(255, 80, 80),
                                        QColor(90, 255, 140)};
    for (int i = 0; i < 7; ++i) {
        const double x = 17 + i * 8;
        const double y = 36.5
            + 2.8 * std::sin((x - 41) / 31 * std::numbers::pi / 2 + std::numbers::pi / 2) - 0.5;
        painter.setBrush(lights[static_cast<size_t>(i % 3)]);
        painter.drawEllipse(QPointF(x, y), 1.5, 1.2);
    }
}

void paintFallbackTarget(QPainter &painter)
{
    painter.fillRect(QRectF(0, 0, targetSize, targetSize), QColor(206, 206, 200));
    const QPointF centre(40.5, 40.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(centre + QPointF(1.2, 1.6), 35, 35);
    for (int ring = 0; ring < 7; ++ring) {
        const double radius = 35.0 - ring * 5.0;
        painter.setPen(ring == 0 ? QPen(QColor(130, 20, 20), 1.0) : Qt::NoPen);
        painter.setBrush(ring % 2 == 0 ? QColor(214, 28, 32) : QColor(252, 252, 250));
        painter.drawEllipse(centre, radius, radius);
    }
}

} // namespace

void writeFallbackTarget(const QDir &assets)
{
    const QImage picture =
        renderSupersampled(targetSize, targetSize, oversampling, Qt::black, paintFallbackTarget);
    save(picture.convertToFormat(QImage::Format_RGB32),
         assets.filePath(QStringLiteral("fallback-target.png")), "png");
}

void writeSampleTargets(const QDir &pix)
{
    using Paint = void (*)(QPainter &);
    const std::array<Paint, 10> targets {
        paintTinCan, paintBottle,        paintClayPigeon,  paintRubberDuck,   paintBalloon,
        paintAlien,  paintArcheryTarget, paintPaperTarget, paintCactusBandit, paintFlyingSaucer};
    for (size_t i = 0; i < targets.size(); ++i) {
        const QImage picture =
            renderSupersampled(targetSize, targetSize, oversampling, Qt::black, targets[i]);
        save(picture, pix.filePath(QStringLiteral("pic%1.jpg").arg(i)), "jpg", 90);
    }
}
