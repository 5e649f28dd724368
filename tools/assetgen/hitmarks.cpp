#include "magick.h"
#include "pictures.h"
#include "render.h"

#include <QPolygonF>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

// The marks left on the field: a fireball where a shot hits and a bullet hole where it misses,
// both on the field's silver grey.

namespace {

const QColor fieldGrey(192, 192, 192);
constexpr double pi = std::numbers::pi;
constexpr int fireballSize = 81;
constexpr int samples = 4; // the fireball is computed at four times its size, then scaled down

// One flame tongue of the fireball: a spike of the outline around an angle.
struct Ray
{
    double angle;
    double halfWidth; // radians
    double length; // pixels beyond the body
};

// Long and short tongues by turns, evenly spread but not quite.
std::vector<Ray> fireballRays(QRandomGenerator &random)
{
    constexpr int count = 26;
    std::vector<Ray> rays;
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * pi * (i + uniform(random, -0.3, 0.3)) / count;
        const double halfWidth = uniform(random, 0.14, 0.24);
        const double length = i % 2 == 0 ? uniform(random, 12.0, 21.0) : uniform(random, 5.0, 10.0);
        rays.push_back({angle, halfWidth, length});
    }
    return rays;
}

// How far the flames reach in a direction.
double flameReach(const std::vector<Ray> &rays, double angle)
{
    double reach = 17.0 + 2.0 * std::sin(5.0 * angle) + 1.2 * std::sin(9.0 * angle + 1.0);
    double spike = 0.0;
    for (const Ray &ray : rays) {
        const double t = std::abs(std::remainder(angle - ray.angle, 2.0 * pi)) / ray.halfWidth;
        if (t < 1.0)
            spike = std::max(spike, ray.length * (1.0 - t) * (1.0 - t));
    }
    return reach + spike;
}

// The fire's colours in a row of 256 pixels, from the white-hot core to the dark tips.
QImage flameColours()
{
    QLinearGradient heat(0, 0, 256, 0);
    heat.setStops({{0.00, QColor(255, 255, 246)},
                   {0.22, QColor(255, 248, 170)},
                   {0.40, QColor(255, 216, 40)},
                   {0.58, QColor(255, 146, 0)},
                   {0.75, QColor(236, 76, 0)},
                   {0.88, QColor(180, 28, 0)},
                   {1.00, QColor(100, 8, 0)}});
    QImage colours(256, 1, QImage::Format_RGB32);
    QPainter(&colours).fillRect(colours.rect(), heat);
    return colours;
}

// Smooth noise over the large fireball: a random grey for every cell of `cell` pixels, blended
// into its neighbours by Qt's smooth scaling.
QImage smoothNoise(QRandomGenerator &random, double cell)
{
    const int cells = static_cast<int>(std::ceil(fireballSize / cell));
    QImage grid(cells, cells, QImage::Format_Grayscale8);
    for (int y = 0; y < cells; ++y) {
        for (int x = 0; x < cells; ++x)
            grid.scanLine(y)[x] = static_cast<uchar>(random.bounded(256));
    }
    const int size = static_cast<int>(std::lround(cells * cell * samples));
    return grid.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The colour at a point of the fireball, where the turbulence (0 to 1) stirs its edge and heat.
QRgb fireballAt(const std::vector<Ray> &rays, const QImage &colours, QPointF at, double turbulence)
{
    const QPointF fromCentre = at - QPointF(fireballSize / 2.0, fireballSize / 2.0);
    const double distance = std::hypot(fromCentre.x(), fromCentre.y());
    const double reach =
        flameReach(rays, std::atan2(fromCentre.y(), fromCentre.x())) * (0.88 + 0.24 * turbulence);
    if (distance > reach)
        return fieldGrey.rgb();
    // The heat falls with the distance from the centre, and along the tongues towards their tips.
    const double heat = 0.6 * distance / reach + 0.4 * distance / 30.0 + (turbulence - 0.5) * 0.3;
    return colours.pixel(std::clamp(static_cast<int>(heat * 256), 0, 255), 0);
}

// Drawn large and scaled down smoothly, so that the jagged edges stay smooth.
QImage paintFireball()
{
    QRandomGenerator random(81);
    const std::vector<Ray> rays = fireballRays(random);
    const QImage coarse = smoothNoise(random, 5.0);
    const QImage fine = smoothNoise(random, 2.2);
    const QImage colours = flameColours();
    QImage large(fireballSize * samples, fireballSize * samples, QImage::Format_RGB32);
    for (int y = 0; y < large.height(); ++y) {
        for (int x = 0; x < large.width(); ++x) {
            const double turbulence =
                (0.65 * qGray(coarse.pixel(x, y)) + 0.35 * qGray(fine.pixel(x, y))) / 255.0;
            const QPointF at((x + 0.5) / samples, (y + 0.5) / samples);
            large.setPixel(x, y, fireballAt(rays, colours, at, turbulence));
        }
    }
    return large.scaled(fireballSize, fireballSize, Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation);
}

// A crack running out from the rim of the hole: a zigzag that thins and fades, now and then
// splitting off a short branch.
void paintCrack(QPainter &painter, QRandomGenerator &random, QPointF centre, double angle,
                double length)
{
    QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * 5.0;
    double travelled = 5.0;
    while (travelled < length) {
        const double heading = angle + uniform(random, -0.6, 0.6);
        const double step = uniform(random, 1.5, 2.6);
        const QPointF next = point + QPointF(std::cos(heading), std::sin(heading)) * step;
        const double along = travelled / length;
        const int grey = qRound(30 + 90 * along); // from near black to mid-grey
        painter.setPen(
            QPen(QColor(grey, grey, grey), 1.1 - 0.6 * along, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(point, next);
        if (random.generateDouble() < 0.35 && travelled > 7.0) {
            const double side = heading + (random.generateDouble() < 0.5 ? -0.9 : 0.9);
            const QPointF tip =
                next + QPointF(std::cos(side), std::sin(side)) * uniform(random, 1.5, 3.0);
            const int paler = qRound(grey + 0.3 * (fieldGrey.red() - grey));
            painter.setPen(QPen(QColor(paler, paler, paler), 0.45, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(next, tip);
        }
        point = next;
        travelled += step;
    }
}

QPolygonF raggedCircle(QRandomGenerator &random, QPointF centre, double radius, double roughness)
{
    QPolygonF polygon;
    constexpr int corners = 18;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2.0 * pi * i / corners;
        const double r = radius + uniform(random, -roughness, roughness);
        polygon << centre + QPointF(std::cos(angle), std::sin(angle)) * r;
    }
    return polygon;
}

void paintBulletHole(QPainter &painter)
{
    QRandomGenerator random(31);
    const QPointF centre(15.5, 15.5);
    constexpr int cracks = 9;
    for (int i = 0; i < cracks; ++i) {
        const double angle = 2.0 * pi * (i + uniform(random, -0.3, 0.3)) / cracks;
        paintCrack(painter, random, centre, angle,
                   i % 3 == 1 ? uniform(random, 8.0, 10.0) : uniform(random, 11.5, 15.0));
    }
    // The splintered rim: dark where it falls away from the light, pale where it faces it.
    QLinearGradient rimShade(centre - QPointF(6, 6), centre + QPointF(6, 6));
    rimShade.setStops(
        {{0.0, QColor(96, 96, 96)}, {0.5, QColor(128, 128, 128)}, {1.0, QColor(168, 168, 168)}});
    painter.setPen(QPen(QColor(80, 80, 80), 0.5));
    painter.setBrush(rimShade);
    painter.drawPolygon(raggedCircle(random, centre, 6.3, 0.7));
    QRadialGradient depth(centre, 4.0);
    depth.setStops({{0.0, QColor(0, 0, 0)}, {0.7, QColor(8, 8, 8)}, {1.0, QColor(40, 40, 40)}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(depth);
    painter.drawPolygon(raggedCircle(random, centre + QPointF(0.2, 0.2), 3.9, 0.4));
}

} // namespace

void writeFireball(const QDir &assets)
{
    saveGif(paintFireball(), assets.filePath(QStringLiteral("fireball.gif")), 32);
}

void writeBulletHole(const QDir &assets)
{
    const QImage picture = renderSupersampled(31, 31, 8, fieldGrey, paintBulletHole);
    save(picture, assets.filePath(QStringLiteral("bullethole.bmp")), "bmp");
}
