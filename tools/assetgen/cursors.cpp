#include "iconfile.h"
#include "pictures.h"

#include <array>

// The two mouse cursors, set pixel by pixel so that they are crisp and exactly symmetric about
// their hot spots.

namespace {

constexpr int cursorSize = 32;

// How one pixel of a cursor shows over the screen.
enum class Ink { Clear, Black, White, Invert };

class CursorCanvas
{
public:
    Ink at(int x, int y) const { return m_ink[static_cast<size_t>(y * cursorSize + x)]; }
    void set(int x, int y, Ink ink) { m_ink[static_cast<size_t>(y * cursorSize + x)] = ink; }

    // Gives every clear pixel that touches (side by side) a pixel of `ink` the ink `edge`.
    void outline(Ink ink, Ink edge)
    {
        const CursorCanvas before = *this;
        const auto inked = [&before, ink](int x, int y) {
            return x >= 0 && y >= 0 && x < cursorSize && y < cursorSize && before.at(x, y) == ink;
        };
        for (int y = 0; y < cursorSize; ++y) {
            for (int x = 0; x < cursorSize; ++x) {
                if (before.at(x, y) == Ink::Clear
                    && (inked(x - 1, y) || inked(x + 1, y) || inked(x, y - 1) || inked(x, y + 1)))
                    set(x, y, edge);
            }
        }
    }

    // A light colour under a set mask bit inverts the screen; black under it leaves it alone.
    IconImage toImage(int bitCount) const
    {
        IconImage image {QImage(cursorSize, cursorSize, QImage::Format_Indexed8),
                         QImage(cursorSize, cursorSize, QImage::Format_Mono), bitCount};
        image.colours.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < cursorSize; ++y) {
            for (int x = 0; x < cursorSize; ++x) {
                const Ink ink = at(x, y);
                image.colours.setPixel(x, y, ink == Ink::White || ink == Ink::Invert);
                image.mask.setPixel(x, y, ink == Ink::Clear || ink == Ink::Invert);
            }
        }
        return image;
    }

    // The pixels whose centres lie at least `from` and less than `to` (both squared) away from
    // the centre of the pixel `centre`.
    void ring(QPoint centre, int from, int to, Ink ink)
    {
        for (int y = 0; y < cursorSize; ++y) {
            for (int x = 0; x < cursorSize; ++x) {
                const int d = QPoint::dotProduct(QPoint(x, y) - centre, QPoint(x, y) - centre);
                if (d >= from && d < to)
                    set(x, y, ink);
            }
        }
    }

private:
    std::array<Ink, cursorSize * cursorSize> m_ink {};
};

} // namespace

void writeGunSight(const QDir &assets)
{
    const QPoint hotSpot(15, 15);
    CursorCanvas canvas;
    canvas.ring(hotSpot, 31, 57, Ink::Black); // 15 pixels across
    canvas.ring(hotSpot, 13, 31, Ink::White);
    canvas.ring(hotSpot, 3, 7, Ink::Invert);
    writeCursorFile(assets.filePath(QStringLiteral("gunsight.cur")), canvas.toImage(1), hotSpot);
}

void writeCrossHair(const QDir &assets)
{
    const QPoint hotSpot(14, 15);
    constexpr int gap = 1; // pixels left clear on each side of the hot spot
    constexpr int hairLength = 12;
    constexpr int strokeFrom = 5; // diagonal distance of the strokes' inner ends
    constexpr int strokeLength = 3;
    CursorCanvas canvas;
    const auto setAround = [&](QPoint offset, Ink ink) {
        canvas.set(hotSpot.x() + offset.x(), hotSpot.y() + offset.y(), ink);
    };
    for (int step = gap + 1; step <= gap + hairLength; ++step) {
        for (const QPoint direction : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            setAround(direction * step, Ink::White);
    }
    for (int step = strokeFrom; step < strokeFrom + strokeLength; ++step) {
        for (const QPoint diagonal : {QPoint(-1, -1), QPoint(1, -1), QPoint(-1, 1), QPoint(1, 1)})
            setAround(diagonal * step, Ink::White);
    }
    canvas.outline(Ink::White, Ink::Black);
    for (int dy = -gap; dy <= gap; ++dy) {
        for (int dx = -gap; dx <= gap; ++dx)
            setAround(QPoint(dx, dy), Ink::Clear);
    }
    writeCursorFile(assets.filePath(QStringLiteral("crosshair.cur")), canvas.toImage(4), hotSpot);
}
