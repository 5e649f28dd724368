#include "iconfile.h"

#include <QDataStream>
#include <QSaveFile>

#include <stdexcept>

namespace {

// The pixels' indices as a device-independent bitmap stores them: `bitCount` bits each, the
// leftmost in the high bits of a byte, the bottom row first, every row padded to four bytes.
QByteArray packRows(const QImage &image, int bitCount)
{
    const int stride = (image.width() * bitCount + 31) / 32 * 4;
    QByteArray rows(static_cast<qsizetype>(stride) * image.height(), '\0');
    for (int y = 0; y < image.height(); ++y) {
        char *row = rows.data() + static_cast<qsizetype>(image.height() - 1 - y) * stride;
        for (int x = 0; x < image.width(); ++x) {
            const int shift = 8 - bitCount - x * bitCount % 8;
            row[x * bitCount / 8] =
                static_cast<char>(row[x * bitCount / 8] | (image.pixelIndex(x, y) << shift));
        }
    }
    return rows;
}

// A BITMAPINFOHEADER whose height counts the colour bitmap and the mask, the full palette, the
// colour bitmap and the mask.
QByteArray bitmap(const IconImage &image)
{
    const QByteArray colourRows = packRows(image.colours, image.bitCount);
    const QByteArray maskRows = packRows(image.mask, 1);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(image.colours.width()) << qint32(2 * image.colours.height())
        << quint16(1) << quint16(image.bitCount) << quint32(0) // one plane, uncompressed
        << quint32(colourRows.size() + maskRows.size()) << qint32(0) << qint32(0) // no resolution
        << quint32(0) << quint32(0); // all colours used, all important
    QList<QRgb> palette = image.colours.colorTable();
    palette.resize(1 << image.bitCount, qRgb(0, 0, 0));
    for (const QRgb colour : palette)
        out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour)) << quint8(0);
    return bytes + colourRows + maskRows;
}

enum class FileType : quint16 { Icon = 1, Cursor = 2 };

// The directory, one entry an image, then the images. Where an icon's entry has its planes and
// depth, a cursor's has the hot spot.
void writeFile(const QString &path, FileType type, const QList<IconImage> &images, QPoint hotSpot)
{
    QSaveFile file(path);
    file.open(QIODevice::WriteOnly);
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(type) << quint16(images.size());
    QList<QByteArray> bitmaps;
    quint32 offset = 6 + 16 * images.size();
    for (const IconImage &image : images) {
        bitmaps << bitmap(image);
        out << quint8(image.colours.width()) << quint8(image.colours.height())
            << quint8(image.bitCount < 8 ? 1 << image.bitCount : 0) << quint8(0);
        if (type == FileType::Cursor)
            out << quint16(hotSpot.x()) << quint16(hotSpot.y());
        else
            out << quint16(1) << quint16(image.bitCount);
        out << quint32(bitmaps.last().size()) << offset;
        offset += bitmaps.last().size();
    }
    for (const QByteArray &bytes : bitmaps)
        out.writeRawData(bytes.constData(), bytes.size());
    if (!file.commit()) // also when the file could not be opened
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace

IconImage toIconImage(const QImage &picture, int bitCount, const QList<QRgb> &colours)
{
    IconImage image {picture.convertToFormat(QImage::Format_Indexed8, colours),
                     QImage(picture.size(), QImage::Format_Mono), bitCount};
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool clear = qAlpha(picture.pixel(x, y)) < 128;
            if (clear)
                image.colours.setPixel(x, y, 0);
            image.mask.setPixel(x, y, clear);
        }
    }
    return image;
}

void writeIconFile(const QString &path, const QList<IconImage> &images)
{
    writeFile(path, FileType::Icon, images, QPoint());
}

void writeCursorFile(const QString &path, const IconImage &image, QPoint hotSpot)
{
    writeFile(path, FileType::Cursor, {image}, hotSpot);
}
