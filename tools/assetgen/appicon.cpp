#include "iconfile.h"
#include "magick.h"
#include "pictures.h"
#include "render.h"

#include <QPolygonF>

#include <cmath>
#include <numbers>

// The application icon: a yellow badge seen at a slant, its darker rim showing its thickness,
// bearing the black three-bladed radiation sign.

namespace {

struct Badge
{
    QPointF centre; // of the top face
    double radiusX;
    double radiusY;
    double thickness;
};

// Small icons get a flatter slant and a relatively thicker rim so that both still show. The
// outer edges of the outline fall on whole pixels, so the small icons get crisp silhouettes.
Badge badgeFor(int size, double penWidth)
{
    const double slant = size <= 16 ? 0.76 : size <= 32 ? 0.72 : 0.68;
    const int margin = size <= 16 ? 0 : static_cast<int>(std::lround(size / 40.0));
    const double radiusX = (size - 2 * margin - penWidth) / 2.0;
    const double thickness = std::max(2.0, std::round(size * 0.10));
    const double height = std::round(2.0 * radiusX * slant + thickness + penWidth);
    const double radiusY = (height - thickness - penWidth) / 2.0;
    const double top = std::floor((size - height) / 2.0);
    return {QPointF(size / 2.0, top + penWidth / 2.0 + radiusY), radiusX, radiusY, thickness};
}

struct TrefoilShape
{
    double hub; // radius of the central disc
    double inner; // where the blades start
    double outer; // where they end
};

// Proportions of the sign as a fraction of the face radius. The small icons widen the gap
// between the disc and the blades so that it survives at a few pixels.
TrefoilShape trefoilFor(int size)
{
    if (size <= 16)
        return {0.20, 0.36, 0.84};
    if (size <= 32)
        return {0.17, 0.30, 0.80};
    return {0.15, 0.25, 0.77};
}

QPointF onCircle(double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return {radius * std::cos(radians), radius * std::sin(radians)};
}

// The sign in face coordinates (the face is the unit circle, y pointing down): a disc and three
// 60-degree blades, two reaching up and one down.
QPainterPath trefoilPath(const TrefoilShape &shape)
{
    QPainterPath path;
    path.addEllipse(QPointF(0, 0), shape.hub, shape.hub);
    constexpr int steps = 48;
    for (const double middle : {-150.0, -30.0, 90.0}) {
        QPolygonF blade;
        for (int i = 0; i <= steps; ++i)
            blade << onCircle(shape.outer, middle - 30.0 + 60.0 * i / steps);
        for (int i = steps; i >= 0; --i)
            blade << onCircle(shape.inner, middle - 30.0 + 60.0 * i / steps);
        path.addPolygon(blade);
        path.closeSubpath();
    }
    return path;
}

void paintRim(QPainter &painter, const Badge &badge, const QPen &outline)
{
    QPainterPath rim =
        ellipsePath(badge.centre + QPointF(0, badge.thickness), badge.radiusX, badge.radiusY);
    rim.addRect(QRectF(badge.centre.x() - badge.radiusX, badge.centre.y(), 2.0 * badge.radiusX,
                       badge.thickness));
    rim = rim.simplified();
    QLinearGradient shade(badge.centre.x() - badge.radiusX, 0, badge.centre.x() + badge.radiusX, 0);
    shade.setStops({{0.0, QColor(150, 100, 0)},
                    {0.35, QColor(214, 158, 8)},
                    {0.55, QColor(200, 140, 4)},
                    {1.0, QColor(128, 84, 0)}});
    painter.setPen(outline);
    painter.setBrush(shade);
    painter.drawPath(rim);
}

void paintFace(QPainter &painter, const Badge &badge, const QPen &outline, int size)
{
    const QPointF light = badge.centre - QPointF(badge.radiusX * 0.35, badge.radiusY * 0.45);
    QRadialGradient glow(light, badge.radiusX * 1.5);
    glow.setStops(
        {{0.0, QColor(255, 250, 150)}, {0.45, QColor(255, 226, 30)}, {1.0, QColor(246, 184, 0)}});
    painter.setPen(outline);
    painter.setBrush(glow);
    painter.drawEllipse(badge.centre, badge.radiusX, badge.radiusY);
    if (size >= 48) {
        // A raised border just inside the edge, as on a pressed badge.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(214, 150, 0), size / 40.0));
        painter.drawEllipse(badge.centre, badge.radiusX * 0.9, badge.radiusY * 0.9);
        painter.setPen(QPen(QColor(255, 246, 170), size / 80.0));
        painter.drawEllipse(badge.centre + QPointF(0, size / 80.0),
                            badge.radiusX * 0.9 + size / 80.0, badge.radiusY * 0.9 + size / 80.0);
    }
}

void paintTrefoil(QPainter &painter, const Badge &badge, int size)
{
    painter.save();
    painter.translate(badge.centre);
    painter.scale(badge.radiusX, badge.radiusY);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(16, 12, 8));
    painter.drawPath(trefoilPath(trefoilFor(size)));
    painter.restore();
}

// At 16 pixels a painted badge blurs, so the smallest icon is set pixel by pixel, as an XPM
// picture: K outline, L highlight, Y and y the face, o and d the rim, # the sign.
const char *const smallIcon[] = {
    "16 16 8 1", //
    ". c None", //
    "K c #3c2400", //
    "L c #fff79a", //
    "Y c #ffdc14", //
    "y c #f0b400", //
    "o c #c88c00", //
    "d c #8c5c00", //
    "# c #100c08", //
    "................", //
    ".....KKKKKK.....", //
    "...KKLLYYYYKK...", //
    ".KK##LLYYYY##KK.", //
    ".K####LYYY####K.", //
    "K####YY##YY####K", //
    "K####Y####Y####K", //
    "KLYYYYY##YYYYYyK", //
    "KYYYYY#YY#YYYyyK", //
    "KYYYY######YyyyK", //
    "KKKYY######yyKKK", //
    ".KoKKYYYYyyKKdK.", //
    ".KKooKKKKKKodKK.", //
    "...KKooooodKK...", //
    ".....KKKKKK.....", //
    "................", //
};

// The 16-colour icons are painted without antialiasing: blended edge pixels would fall between
// the few colours and speckle.
QImage paintIcon(int size, bool smooth = true)
{
    if (size <= 16)
        return QImage(smallIcon).convertToFormat(QImage::Format_ARGB32);

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    const QPen outline(QColor(70, 42, 0), std::max(1.0, std::round(size / 32.0)));
    const Badge badge = badgeFor(size, outline.widthF());
    paintRim(painter, badge, outline);
    paintFace(painter, badge, outline, size);
    paintTrefoil(painter, badge, size);
    painter.end();
    return image;
}

// The 4-bit icons take black, olive and yellow only: the other colours of the sixteen that every
// display has would put red, grey or white specks on the edges. The 8-bit ones take black, for the
// transparent pixels, and the 255 colours ImageMagick picks.
IconImage iconImage(int size, int bitCount)
{
    const QImage picture = paintIcon(size, bitCount > 4);
    const QList<QRgb> colours = bitCount == 4
        ? QList<QRgb> {qRgb(0, 0, 0), qRgb(128, 128, 0), qRgb(255, 255, 0)}
        : QList<QRgb> {qRgb(0, 0, 0)} + reducedColours(picture, 255);
    return toIconImage(picture, bitCount, colours);
}

} // namespace

void writeAppIcon(const QDir &assets)
{
    writeIconFile(
        assets.filePath(QStringLiteral("varkoz.ico")),
        {iconImage(16, 4), iconImage(16, 8), iconImage(32, 4), iconImage(32, 8), iconImage(48, 8)});
    for (const int size : {16, 32, 48, 128, 256})
        save(paintIcon(size), assets.filePath(QStringLiteral("varkoz-%1.png").arg(size)), "png");
}
