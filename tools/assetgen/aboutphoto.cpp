#include "pictures.h"
#include "render.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QRandomGenerator>

// The About window's photograph: a flash snapshot of a young programmer pulling a face in
// front of his glowing monitors.

namespace {

constexpr int photoWidth = 105;
constexpr int photoHeight = 92;

const QColor skin(242, 198, 164);
const QColor skinShade(214, 156, 124);
const QColor hair(58, 38, 24);

// Rows of "text" on a screen: short bars of varying length and indent.
void paintScreenText(QPainter &painter, const QRectF &screen, const QColor &ink, quint32 seed)
{
    QRandomGenerator random(seed);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const double lineHeight = 2.6;
    for (double y = screen.top() + 2.0; y + 1.2 < screen.bottom() - 1.0; y += lineHeight) {
        const double indent = 1.6 * random.bounded(4);
        const double length = uniform(random, 5.0, 22.0);
        const double left = screen.left() + 2.0 + indent;
        const double right = std::min(left + length, screen.right() - 2.0);
        painter.drawRect(QRectF(left, y, right - left, 1.1));
    }
}

// The soft light a screen throws on the wall around it.
void paintGlow(QPainter &painter, const QRectF &screen, const QColor &light)
{
    QRadialGradient glow(screen.center(), screen.width() * 1.1);
    QColor inner = light;
    inner.setAlpha(90);
    QColor outer = light;
    outer.setAlpha(0);
    glow.setStops({{0.0, inner}, {1.0, outer}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(screen.center(), screen.width() * 1.1, screen.width() * 1.1);
}

void paintScreen(QPainter &painter, const QRectF &screen, const QColor &top, const QColor &bottom,
                 const QColor &ink, quint32 seed)
{
    QLinearGradient face(screen.topLeft(), screen.bottomRight());
    face.setStops({{0.0, top}, {1.0, bottom}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(screen, 1.2, 1.2);
    paintScreenText(painter, screen, ink, seed);
    // The glare of the glass.
    QLinearGradient glare(screen.topLeft(), screen.center());
    glare.setStops({{0.0, QColor(255, 255, 255, 70)}, {1.0, QColor(255, 255, 255, 0)}});
    painter.setBrush(glare);
    painter.drawRoundedRect(screen, 1.2, 1.2);
}

void paintRoom(QPainter &painter)
{
    QLinearGradient wall(0, 0, 0, photoHeight);
    wall.setStops({{0.0, QColor(40, 44, 62)}, {1.0, QColor(22, 22, 30)}});
    painter.fillRect(QRectF(-20, -20, photoWidth + 40, photoHeight + 40), wall);

    // A beige tube monitor on the left, turned a little towards the camera.
    const QRectF leftScreen(-3, 19, 31, 23);
    paintGlow(painter, leftScreen, QColor(70, 140, 255));
    painter.setPen(QPen(QColor(120, 110, 90), 0.5));
    QLinearGradient beige(0, 12, 0, 52);
    beige.setStops({{0.0, QColor(214, 204, 178)}, {1.0, QColor(150, 140, 116)}});
    painter.setBrush(beige);
    painter.drawRoundedRect(QRectF(-8, 13, 42, 36), 3, 3);
    painter.drawRect(QRectF(4, 49, 20, 5));
    paintScreen(painter, leftScreen, QColor(90, 160, 255), QColor(20, 60, 170),
                QColor(210, 240, 255), 7);

    // A dark flat monitor on the right with a green terminal.
    const QRectF rightScreen(75, 12, 33, 25);
    paintGlow(painter, rightScreen, QColor(60, 255, 140));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(28, 30, 34));
    painter.drawRoundedRect(QRectF(72, 9, 40, 31), 2, 2);
    painter.drawRect(QRectF(86, 40, 8, 12));
    paintScreen(painter, rightScreen, QColor(20, 96, 54), QColor(8, 44, 26), QColor(130, 255, 170),
                3);

    // A third screen behind his head lights his hair from behind.
    const QRectF middleScreen(36, 4, 38, 26);
    paintGlow(painter, middleScreen, QColor(160, 120, 255));
    painter.setBrush(QColor(20, 20, 24));
    painter.drawRoundedRect(middleScreen.adjusted(-2.5, -2.5, 2.5, 2.5), 2, 2);
    paintScreen(painter, middleScreen, QColor(120, 90, 220), QColor(40, 30, 110),
                QColor(255, 220, 140), 11);

    // The desk.
    QLinearGradient desk(0, 58, 0, photoHeight);
    desk.setStops({{0.0, QColor(96, 70, 48)}, {1.0, QColor(54, 38, 26)}});
    painter.fillRect(QRectF(-20, 58, photoWidth + 40, 50), desk);
    painter.fillRect(QRectF(-20, 58, photoWidth + 40, 1.2), QColor(140, 110, 80));
}

void paintBody(QPainter &painter)
{
    // Shoulders in a red T-shirt.
    const QPainterPath shirt = svgPath("M14,96 C14,78 22,70 40,67 L68,67 C86,70 94,78 94,96 Z");
    QLinearGradient cloth(14, 0, 94, 0);
    cloth.setStops(
        {{0.0, QColor(150, 30, 30)}, {0.45, QColor(214, 54, 44)}, {1.0, QColor(140, 28, 28)}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(cloth);
    painter.drawPath(shirt);

    // Shoulders catch the flash; the arms fall away into the dark.
    QRadialGradient sheen(QPointF(54, 74), 40);
    sheen.setStops({{0.0, QColor(255, 140, 120, 60)}, {1.0, QColor(255, 140, 120, 0)}});
    painter.setBrush(sheen);
    painter.drawPath(shirt);
    painter.setPen(QPen(QColor(110, 20, 20), 0.8));
    painter.drawLine(QPointF(24, 82), QPointF(27, 96));
    painter.drawLine(QPointF(84, 82), QPointF(81, 96));

    // A yellow badge printed on the chest.
    painter.setPen(QPen(QColor(120, 80, 0), 0.5));
    painter.setBrush(QColor(255, 214, 30));
    painter.drawEllipse(QPointF(66, 82), 5.5, 5.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 20, 10));
    painter.drawEllipse(QPointF(66, 82), 1.0, 1.0);
    for (const int start : {0, 120, 240})
        painter.drawPie(QRectF(62, 78, 8, 8), start * 16, 60 * 16);
    painter.setBrush(QColor(255, 214, 30));
    painter.drawEllipse(QPointF(66, 82), 1.6, 1.6);
    painter.setBrush(QColor(30, 20, 10));
    painter.drawEllipse(QPointF(66, 82), 0.9, 0.9);

    // The neck and the collar.
    painter.setPen(Qt::NoPen);
    painter.setBrush(skinShade);
    painter.drawRect(QRectF(44, 56, 20, 13));
    painter.setBrush(QColor(120, 24, 24));
    painter.drawChord(QRectF(43, 60, 22, 14), 180 * 16, 180 * 16);
    painter.setBrush(skinShade);
    painter.drawChord(QRectF(45.5, 59, 17, 11), 180 * 16, 180 * 16);
}

void paintHead(QPainter &painter)
{
    const QPointF centre(54, 37);
    // Ears.
    painter.setPen(Qt::NoPen);
    painter.setBrush(skinShade);
    painter.drawEllipse(QPointF(38.5, 40), 3.2, 5);
    painter.drawEllipse(QPointF(69.5, 40), 3.2, 5);

    // The face, lit by the flash.
    const QPainterPath face =
        svgPath("M39,32 C39,16 69,16 69,32 C69,48 64,58 54,59 C44,58 39,48 39,32");
    QRadialGradient flash(centre + QPointF(-2, -3), 19);
    flash.setStops({{0.0, QColor(252, 216, 186)}, {0.6, skin}, {1.0, skinShade}});
    painter.setBrush(flash);
    painter.drawPath(face);
    // The shine of the flash on forehead and nose, and the shadow under the fringe.
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawEllipse(QPointF(51, 27.5), 4, 1.6);
    painter.drawEllipse(QPointF(55.3, 41.5), 1.0, 0.8);
    QLinearGradient fringe(0, 23, 0, 29);
    fringe.setStops({{0.0, QColor(120, 60, 40, 110)}, {1.0, QColor(120, 60, 40, 0)}});
    painter.setBrush(fringe);
    painter.drawRect(QRectF(39, 23, 30, 6));

    // Messy hair, with the light of the screen behind catching its edge.
    const QPainterPath mop =
        svgPath("M37.5,36 C35,24 38,15 45,13 L44,9 L49,12 L50,7 L54,11.5 L57,7.5 L59,12 "
                "L64,9.5 L63.5,14 C70,17 72,26 70.5,36 C69,30 67,26 64,24 L60,26.5 "
                "L57.5,23 L53,26 L50,22.5 L46,26 L44,23.5 C41,26 40,30 37.5,36");
    painter.setPen(QPen(QColor(190, 160, 255, 150), 0.8));
    painter.setBrush(hair);
    painter.drawPath(mop);
}

void paintSillyFace(QPainter &painter)
{
    // Eyebrows shot up high.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(hair, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(43, 27, 9, 5), 20 * 16, 140 * 16);
    painter.drawArc(QRectF(56, 26, 9, 5), 20 * 16, 140 * 16);

    // Wide eyes, crossed towards the nose.
    painter.setPen(QPen(QColor(90, 60, 50), 0.5));
    painter.setBrush(QColor(250, 250, 246));
    painter.drawEllipse(QPointF(48, 35.5), 3.4, 3.6);
    painter.drawEllipse(QPointF(60, 35.5), 3.4, 3.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 110, 60));
    painter.drawEllipse(QPointF(50.0, 36.3), 1.8, 1.9);
    painter.drawEllipse(QPointF(58.0, 36.3), 1.8, 1.9);
    painter.setBrush(QColor(10, 10, 10));
    painter.drawEllipse(QPointF(50.2, 36.4), 0.9, 0.9);
    painter.drawEllipse(QPointF(57.8, 36.4), 0.9, 0.9);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(49.6, 35.6), 0.45, 0.45);
    painter.drawEllipse(QPointF(57.4, 35.6), 0.45, 0.45);

    // Nose.
    painter.setPen(QPen(skinShade.darker(115), 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QPainterPath nose = svgPath("M54.5,38 C55.5,41 57,42.5 55.5,43.5 L52.5,43.5");
    painter.drawPath(nose);

    // Cheeks puffed pink.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 110, 110, 70));
    painter.drawEllipse(QPointF(44.5, 44), 3.5, 2.5);
    painter.drawEllipse(QPointF(63.5, 44), 3.5, 2.5);

    // The mouth pulled wide open, the tongue hanging out.
    const QPainterPath mouth = svgPath("M47,47 C50,49 58,49 61,46.5 C60,52 48,52.5 47,47");
    painter.setBrush(QColor(80, 16, 24));
    painter.setPen(QPen(QColor(150, 70, 70), 0.6));
    painter.drawPath(mouth);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 248, 240));
    painter.drawRect(QRectF(50.5, 47.8, 7, 1.1));

    const QPainterPath tongue =
        svgPath("M50,49.5 C49.5,55 51,58.5 54.5,58.5 C58,58.5 59.5,55 59,49 Z");
    QLinearGradient wet(0, 49, 0, 58.5);
    wet.setStops({{0.0, QColor(196, 60, 80)}, {1.0, QColor(244, 110, 128)}});
    painter.setBrush(wet);
    painter.setPen(QPen(QColor(160, 50, 64), 0.5));
    painter.drawPath(tongue);
    painter.setPen(QPen(QColor(180, 60, 78), 0.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(54.5, 51), QPointF(54.6, 56));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 210, 220, 170));
    painter.drawEllipse(QPointF(52.5, 55.5), 0.9, 0.6);
}

// The snapshot look: a hot flash in the middle falling off to dark corners.
void paintFlashFalloff(QPainter &painter)
{
    QRadialGradient vignette(QPointF(54, 42), 70);
    vignette.setStops(
        {{0.0, QColor(255, 240, 220, 0)}, {0.55, QColor(0, 0, 0, 0)}, {1.0, QColor(0, 0, 0, 120)}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(vignette);
    painter.drawRect(QRectF(0, 0, photoWidth, photoHeight));
}

void paintPhoto(QPainter &painter)
{
    // Held a little crooked, as snapshots are.
    painter.save();
    painter.translate(photoWidth / 2.0, photoHeight / 2.0);
    painter.rotate(-3.0);
    painter.translate(-photoWidth / 2.0, -photoHeight / 2.0);
    paintRoom(painter);
    paintBody(painter);
    // He leans in towards the camera.
    painter.translate(54, 62);
    painter.scale(1.2, 1.2);
    painter.translate(-54, -58);
    paintHead(painter);
    paintSillyFace(painter);
    painter.restore();
    paintFlashFalloff(painter);
}

} // namespace

void writeAboutPhoto(const QDir &assets)
{
    const QImage photo = renderSupersampled(photoWidth, photoHeight, 4, Qt::black, paintPhoto);
    save(photo, assets.filePath(QStringLiteral("about.jpg")), "jpg", 92);
}
