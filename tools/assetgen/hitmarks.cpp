#include "magick.h"
#include "pictures.h"
#include "render.h"
#include "rng.h"

#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

// The marks left on the field: a fireball where a shot hits and a bullet hole where it misses,
// both on the field's silver grey.

namespace {

const QColor fieldGrey(192, 192, 192);
constexpr double pi = std::numbers::pi;

// Smooth noise in [0, 1) on a grid of cells, the same for the same seed.
class ValueNoise
{
public:
    explicit ValueNoise(uint64_t seed) : m_seed(seed) { }

    double at(double x, double y) const
    {
        const double fx = std::floor(x);
        const double fy = std::floor(y);
        const double tx = smooth(x - fx);
        const double ty = smooth(y - fy);
        const auto ix = static_cast<int64_t>(fx);
        const auto iy = static_cast<int64_t>(fy);
        const double top = lerp(corner(ix, iy), corner(ix + 1, iy), tx);
        const double bottom = lerp(corner(ix, iy + 1), corner(ix + 1, iy + 1), tx);
        return lerp(top, bottom, ty);
    }

private:
    static double smooth(double t) { return t * t * (3.0 - 2.0 * t); }
    static double lerp(double a, double b, double t) { return a + (b - a) * t; }
    double corner(int64_t x, int64_t y) const
    {
        Rng rng(m_seed ^ (static_cast<uint64_t>(x) * 0x9e3779b1ULL)
                ^ (static_cast<uint64_t>(y) * 0x85ebca77c2b2ae63ULL));
        return rng.unit();
    }

    uint64_t m_seed;
};

// One flame tongue of the fireball: a spike of the outline around an angle.
struct Ray
{
    double angle;
    double halfWidth; // radians
    double length; // pixels beyond the body
};

std::vector<Ray> fireballRays()
{
    Rng rng(81);
    std::vector<Ray> rays;
    constexpr int count = 26;
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * pi * (i + rng.range(-0.3, 0.3)) / count;
        const bool large = i % 2 == 0;
        rays.push_back(
            {angle, rng.range(0.14, 0.24), large ? rng.range(12.0, 21.0) : rng.range(5.0, 10.0)});
    }
    return rays;
}

double angleBetween(double a, double b)
{
    double d = std::fmod(a - b, 2.0 * pi);
    if (d > pi)
        d -= 2.0 * pi;
    if (d < -pi)
        d += 2.0 * pi;
    return std::abs(d);
}

// How far the flames reach in a direction.
double flameReach(const std::vector<Ray> &rays, double angle)
{
    double reach = 17.0 + 2.0 * std::sin(5.0 * angle) + 1.2 * std::sin(9.0 * angle + 1.0);
    double spike = 0.0;
    for (const Ray &ray : rays) {
        const double t = angleBetween(angle, ray.angle) / ray.halfWidth;
        if (t < 1.0)
            spike = std::max(spike, ray.length * (1.0 - t) * (1.0 - t));
    }
    return reach + spike;
}

// The fire's colour from the white-hot core (0) to the dark tips (1).
QColor flameColour(double heat)
{
    struct Stop
    {
        double at;
        QColor colour;
    };
    static const std::array<Stop, 7> stops {{{0.00, QColor(255, 255, 246)},
                                             {0.22, QColor(255, 248, 170)},
                                             {0.40, QColor(255, 216, 40)},
                                             {0.58, QColor(255, 146, 0)},
                                             {0.75, QColor(236, 76, 0)},
                                             {0.88, QColor(180, 28, 0)},
                                             {1.00, QColor(100, 8, 0)}}};
    heat = std::clamp(heat, 0.0, 1.0);
    for (size_t i = 1; i < stops.size(); ++i) {
        if (heat <= stops[i].at) {
            const double t = (heat - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            return mix(stops[i - 1].colour, stops[i].colour, t);
        }
    }
    return stops.back().colour;
}

// The colour at a point of the picture, or no value where the background shows.
std::optional<QColor> fireballAt(const std::vector<Ray> &rays, const ValueNoise &noise, double x,
                                 double y)
{
    constexpr double centre = 40.5;
    const double dx = x - centre;
    const double dy = y - centre;
    const double distance = std::hypot(dx, dy);
    const double angle = std::atan2(dy, dx);
    const double turbulence = noise.at(x / 5.0, y / 5.0) * 0.65 + noise.at(x / 2.2, y / 2.2) * 0.35;
    const double reach = flameReach(rays, angle) * (0.88 + 0.24 * turbulence);
    if (distance > reach)
        return std::nullopt;
    // The heat falls with the distance from the centre, and along the tongues towards their tips.
    const double heat = 0.6 * distance / reach + 0.4 * distance / 30.0;
    return flameColour(heat + (turbulence - 0.5) * 0.3);
}

// Averages 4 x 4 samples a pixel so that the jagged edges stay smooth.
QImage paintFireball()
{
    const std::vector<Ray> rays = fireballRays();
    const ValueNoise noise(1024);
    QImage image(81, 81, QImage::Format_RGB32);
    constexpr int samples = 4;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const QColor colour =
                        fireballAt(rays, noise, x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                            .value_or(fieldGrey);
                    r += colour.red();
                    g += colour.green();
                    b += colour.blue();
                }
            }
            constexpr double n = samples * samples;
            image.setPixel(x, y,
                           qRgb(static_cast<int>(std::lround(r / n)),
                                static_cast<int>(std::lround(g / n)),
                                static_cast<int>(std::lround(b / n))));
        }
    }
    return image;
}

// A crack running out from the rim of the hole: a zigzag that thins and fades, now and then
// splitting off a short branch.
void paintCrack(QPainter &painter, Rng &rng, QPointF centre, double angle, double length)
{
    QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * 5.0;
    double travelled = 5.0;
    while (travelled < length) {
        const double heading = angle + rng.range(-0.6, 0.6);
        const double step = rng.range(1.5, 2.6);
        const QPointF next = point + QPointF(std::cos(heading), std::sin(heading)) * step;
        const double along = travelled / length;
        const QColor ink = mix(QColor(30, 30, 30), QColor(120, 120, 120), along);
        painter.setPen(QPen(ink, 1.1 - 0.6 * along, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(point, next);
        if (rng.unit() < 0.35 && travelled > 7.0) {
            const double side = heading + (rng.unit() < 0.5 ? -0.9 : 0.9);
            const QPointF tip =
                next + QPointF(std::cos(side), std::sin(side)) * rng.range(1.5, 3.0);
            painter.setPen(QPen(mix(ink, fieldGrey, 0.3), 0.45, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(next, tip);
        }
        point = next;
        travelled += step;
    }
}

QPolygonF raggedCircle(Rng &rng, QPointF centre, double radius, double roughness)
{
    QPolygonF polygon;
    constexpr int corners = 18;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2.0 * pi * i / corners;
        const double r = radius + rng.range(-roughness, roughness);
        polygon << centre + QPointF(std::cos(angle), std::sin(angle)) * r;
    }
    return polygon;
}

void paintBulletHole(QPainter &painter)
{
    Rng rng(31);
    const QPointF centre(15.5, 15.5);
    constexpr int cracks = 9;
    for (int i = 0; i < cracks; ++i) {
        const double angle = 2.0 * pi * (i + rng.range(-0.3, 0.3)) / cracks;
        paintCrack(painter, rng, centre, angle,
                   i % 3 == 1 ? rng.range(8.0, 10.0) : rng.range(11.5, 15.0));
    }
    // The splintered rim: dark where it falls away from the light, pale where it faces it.
    QLinearGradient rimShade(centre - QPointF(6, 6), centre + QPointF(6, 6));
    rimShade.setStops(
        {{0.0, QColor(96, 96, 96)}, {0.5, QColor(128, 128, 128)}, {1.0, QColor(168, 168, 168)}});
    painter.setPen(QPen(QColor(80, 80, 80), 0.5));
    painter.setBrush(rimShade);
    painter.drawPolygon(raggedCircle(rng, centre, 6.3, 0.7));
    QRadialGradient depth(centre, 4.0);
    depth.setStops({{0.0, QColor(0, 0, 0)}, {0.7, QColor(8, 8, 8)}, {1.0, QColor(40, 40, 40)}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(depth);
    painter.drawPolygon(raggedCircle(rng, centre + QPointF(0.2, 0.2), 3.9, 0.4));
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
