#include "icofile.h"
#include "pictures.h"
#include "quantize.h"
#include "render.h"

#include <cstdlib>

// The two mouse cursors, set pixel by pixel so that they are crisp and exactly symmetric about
// their hot spots.

namespace {

constexpr int cursorSize = 32;

// How one pixel of a cursor looks over the screen.
enum class Ink { Clear, Black, White, Invert };

class CursorCanvas
{
public:
    Ink at(int x, int y) const { return m_ink[static_cast<size_t>(y * cursorSize + x)]; }
    void set(int x, int y, Ink ink)
    {
        if (x >= 0 && y >= 0 && x < cursorSize && y < cursorSize)
            m_ink[static_cast<size_t>(y * cursorSize + x)] = ink;
    }

    // Gives every clear pixel that touches (side by side) a pixel of `ink` the ink `edge`.
    void outline(Ink ink, Ink edge)
    {
        CursorCanvas before = *this;
        for (int y = 0; y < cursorSize; ++y) {
            for (int x = 0; x < cursorSize; ++x) {
                const bool touches = (x > 0 && before.at(x - 1, y) == ink)
                    || (x + 1 < cursorSize && before.at(x + 1, y) == ink)
                    || (y > 0 && before.at(x, y - 1) == ink)
                    || (y + 1 < cursorSize && before.at(x, y + 1) == ink);
                if (touches && before.at(x, y) == Ink::Clear)
                    set(x, y, edge);
            }
        }
    }

    // The cursor as an icon image with the given palette, whose index 0 is black and whose
    // `white` index is white. AND 1 with XOR 0 leaves the screen alone, AND 1 with XOR white
    // inverts it.
    IconImage toImage(int bitCount, const Palette &palette, int white, QPoint hotSpot) const
    {
        IconImage image;
        image.width = cursorSize;
        image.height = cursorSize;
        image.bitCount = bitCount;
        image.palette = palette;
        image.hotSpot = hotSpot;
        for (const Ink ink : m_ink) {
            const bool light = ink == Ink::White || ink == Ink::Invert;
            const bool see = ink == Ink::Clear || ink == Ink::Invert;
            image.indices.push_back(static_cast<uint8_t>(light ? white : 0));
            image.mask.push_back(see ? 1 : 0);
        }
        return image;
    }

private:
    std::vector<Ink> m_ink = std::vector<Ink>(cursorSize * cursorSize, Ink::Clear);
};

// Squared distance bands around the hot spot: a ring holds the pixels whose centres lie at
// least `from` and less than `to` (both squared) away from the hot spot's centre.
void ring(CursorCanvas &canvas, QPoint centre, int from, int to, Ink ink)
{
    for (int y = 0; y < cursorSize; ++y) {
        for (int x = 0; x < cursorSize; ++x) {
            const int dx = x - centre.x();
            const int dy = y - centre.y();
            const int d = dx * dx + dy * dy;
            if (d >= from && d < to)
                canvas.set(x, y, ink);
        }
    }
}

} // namespace

void writeGunSight(const QDir &assets)
{
    const QPoint hotSpot(15, 15);
    CursorCanvas canvas;
    ring(canvas, hotSpot, 31, 57, Ink::Black); // 15 pixels across
    ring(canvas, hotSpot, 13, 31, Ink::White);
    ring(canvas, hotSpot, 3, 7, Ink::Invert);
    const Palette blackAndWhite {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    writeFile(assets.filePath(QStringLiteral("gunsight.cur")),
              encodeIconFile({canvas.toImage(1, blackAndWhite, 1, hotSpot)}, IconFileType::Cursor));
}

void writeCrossHair(const QDir &assets)
{
    const QPoint hotSpot(14, 15);
    constexpr int gap = 1; // pixels left clear on each side of the hot spot
    constexpr int hairLength = 12;
    constexpr int strokeFrom = 5; // diagonal distance of the strokes' inner ends
    constexpr int strokeLength = 3;
    CursorCanvas canvas;
    for (int step = gap + 1; step <= gap + hairLength; ++step) {
        canvas.set(hotSpot.x() - step, hotSpot.y(), Ink::White);
        canvas.set(hotSpot.x() + step, hotSpot.y(), Ink::White);
        canvas.set(hotSpot.x(), hotSpot.y() - step, Ink::White);
        canvas.set(hotSpot.x(), hotSpot.y() + step, Ink::White);
    }
    for (int step = strokeFrom; step < strokeFrom + strokeLength; ++step) {
        for (const int sx : {-1, 1}) {
            for (const int sy : {-1, 1})
                canvas.set(hotSpot.x() + sx * step, hotSpot.y() + sy * step, Ink::White);
        }
    }
    canvas.outline(Ink::White, Ink::Black);
    for (int dy = -gap; dy <= gap; ++dy) {
        for (int dx = -gap; dx <= gap; ++dx)
            canvas.set(hotSpot.x() + dx, hotSpot.y() + dy, Ink::Clear);
    }
    const Palette palette = windowsPalette16();
    const int white = nearestIndex(palette, qRgb(255, 255, 255));
    writeFile(assets.filePath(QStringLiteral("crosshair.cur")),
              encodeIconFile({canvas.toImage(4, palette, white, hotSpot)}, IconFileType::Cursor));
}
