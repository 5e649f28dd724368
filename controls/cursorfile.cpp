#include "cursorfile.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

#ifdef Q_OS_WIN
#include <QBitmap>
#include <QPainter>
#endif

namespace CursorFile {

namespace {
constexpr qsizetype directoryHeaderSize = 6;
constexpr qsizetype directoryEntrySize = 16;
constexpr quint16 cursorType = 2;

constexpr qsizetype bitmapHeaderSize = 40;
constexpr int largestCursor = 256;

quint16 wordAt(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.data() + offset);
}

quint32 dwordAt(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.data() + offset);
}

// How one pixel of a one-bit cursor shows over the screen.
enum class Ink { Clear, Black, White, Invert };

// The pixels of the first image of a one-bit cursor file, row by row from the top, or nothing
// when the image is not a one-bit picture. Each pixel has an AND bit and an XOR colour: AND 0
// draws the colour, AND 1 with XOR black leaves the screen alone, AND 1 with XOR white inverts
// it. Qt's own reader loses that last kind.
std::optional<QList<QList<Ink>>> monochromeInks(QByteArrayView file)
{
    const qsizetype image = dwordAt(file, directoryHeaderSize + 12);
    if (image < 0 || image + bitmapHeaderSize > file.size())
        return std::nullopt;
    const qsizetype headerSize = dwordAt(file, image);
    const auto width = static_cast<qint32>(dwordAt(file, image + 4));
    const auto height = static_cast<qint32>(dwordAt(file, image + 8)) / 2; // colour and mask
    const quint16 bitCount = wordAt(file, image + 14);
    if (bitCount != 1 || width <= 0 || height <= 0 || width > largestCursor
        || height > largestCursor)
        return std::nullopt;

    const qsizetype palette = image + headerSize;
    const qsizetype stride = (width + 31) / 32 * 4;
    const qsizetype colours = palette + 2 * 4;
    const qsizetype masks = colours + stride * height;
    if (masks + stride * height > file.size())
        return std::nullopt;
    const auto isWhite = [&](int index) {
        const qsizetype entry = palette + 4 * index; // blue, green, red, unused
        return file[entry] != 0 && file[entry + 1] != 0 && file[entry + 2] != 0;
    };
    const auto bit = [&](qsizetype rows, int x, int y) {
        const qsizetype row = rows + stride * (height - 1 - y); // stored bottom-up
        return (static_cast<uchar>(file[row + x / 8]) >> (7 - x % 8)) & 1;
    };

    QList<QList<Ink>> inks(height, QList<Ink>(width, Ink::Clear));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool white = isWhite(bit(colours, x, y));
            if (bit(masks, x, y) == 0)
                inks[y][x] = white ? Ink::White : Ink::Black;
            else if (white)
                inks[y][x] = Ink::Invert;
        }
    }
    return inks;
}

#ifndef Q_OS_WIN
// The picture of one-bit pixels, for platforms that cannot invert the screen: there the
// inverting pixels are drawn black, so that they still show.
QImage monochromeImage(const QList<QList<Ink>> &inks)
{
    const int height = int(inks.size());
    const int width = int(inks.first().size());
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Ink ink = inks[y][x];
            if (ink != Ink::Clear)
                image.setPixel(x, y, ink == Ink::White ? 0xffffffffu : 0xff000000u);
        }
    }
    return image;
}
#else
// A pointer from one-bit pixels that inverts the screen where the cursor file says so.
QCursor invertingCursor(const QList<QList<Ink>> &inks, QPoint hotSpot)
{
    const int height = int(inks.size());
    const int width = int(inks.first().size());
    QBitmap bitmap(width, height);
    QBitmap mask(width, height);
    bitmap.fill(Qt::color0);
    mask.fill(Qt::color0);
    QPainter bits(&bitmap);
    QPainter masking(&mask);
    bits.setPen(Qt::color1);
    masking.setPen(Qt::color1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Ink ink = inks[y][x];
            if (ink == Ink::Black || ink == Ink::Invert)
                bits.drawPoint(x, y);
            if (ink == Ink::Black || ink == Ink::White)
                masking.drawPoint(x, y);
        }
    }
    bits.end();
    masking.end();
    return QCursor(bitmap, mask, hotSpot.x(), hotSpot.y());
}
#endif

// How much larger than its logical size a pointer picture must be made. X11 shows a pointer's
// pixmap pixel for pixel, whatever the scale of the windows; other platforms scale it
// themselves.
qreal pointerEnlargement(qreal devicePixelRatio)
{
    return QGuiApplication::platformName() == QLatin1String("xcb") ? devicePixelRatio : 1.0;
}
} // namespace

std::optional<QPoint> hotSpot(QByteArrayView file)
{
    if (file.size() < directoryHeaderSize + directoryEntrySize)
        return std::nullopt;
    const quint16 reserved = wordAt(file, 0);
    const quint16 type = wordAt(file, 2);
    const quint16 count = wordAt(file, 4);
    if (reserved != 0 || type != cursorType || count == 0)
        return std::nullopt;
    const qsizetype entry = directoryHeaderSize;
    return QPoint(wordAt(file, entry + 4), wordAt(file, entry + 6));
}

QCursor fromPicture(const QImage &picture, QPoint hotSpot, qreal enlargement)
{
    if (qFuzzyCompare(enlargement, 1.0))
        return QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y());
    // Nearest pixels, so that the thin lines stay crisp.
    const QImage enlarged = picture.scaled((QSizeF(picture.size()) * enlargement).toSize(),
                                           Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QPoint spot = (QPointF(hotSpot) * enlargement).toPoint();
    return QCursor(QPixmap::fromImage(enlarged), spot.x(), spot.y());
}

QCursor load(const QString &fileName, qreal devicePixelRatio)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QCursor(Qt::ArrowCursor);
    const QByteArray bytes = file.readAll();
    const std::optional<QPoint> spot = hotSpot(bytes);
    if (!spot)
        return QCursor(Qt::ArrowCursor);

    QImage picture;
    if (const auto inks = monochromeInks(bytes)) {
#ifdef Q_OS_WIN
        return invertingCursor(*inks, *spot);
#else
        picture = monochromeImage(*inks);
#endif
    } else {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "cur");
        picture = reader.read();
    }
    if (picture.isNull())
        return QCursor(Qt::ArrowCursor);
    return fromPicture(picture, *spot, pointerEnlargement(devicePixelRatio));
}

} // namespace CursorFile
