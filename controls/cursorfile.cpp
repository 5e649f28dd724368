#include "cursorfile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace CursorFile {

namespace {
constexpr qsizetype directoryHeaderSize = 6;
constexpr qsizetype directoryEntrySize = 16;
constexpr quint16 cursorType = 2;

quint16 wordAt(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.data() + offset);
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

QCursor load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QCursor(Qt::ArrowCursor);
    const QByteArray bytes = file.readAll();
    const std::optional<QPoint> spot = hotSpot(bytes);

    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (!spot || image.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(QPixmap::fromImage(image), spot->x(), spot->y());
}

} // namespace CursorFile
