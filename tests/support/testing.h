#pragma once

#include "heldtimers.h"
#include "scriptedrandom.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

// The value in [0, 1) that draws the hole, or the picture number out of count pictures.
inline constexpr auto forHole = [](int hole) {
    return static_cast<float>(hole) / 8.0f;
};
inline constexpr auto forPicture = [](int number, int count) {
    return static_cast<float>(number) / static_cast<float>(count - 1) * 0.999f;
};

// A fresh temporary folder that is the current directory for as long as the object lives. Its path
// has letters of the Western code pages and letters that none of them has.
class TemporaryCurrentDir
{
public:
    TemporaryCurrentDir() : m_previous(QDir::currentPath())
    {
        QDir(m_dir.path()).mkpath(u"Játékok/Варкоз"_qs);
        QDir::setCurrent(m_dir.filePath(u"Játékok/Варкоз"_qs));
    }
    ~TemporaryCurrentDir() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Removes the file or folder. Windows removes nothing that is open, and the game may still be
// reading its targets ahead: there it is tried until it is gone.
inline bool removeWhenLetGo(const QString &path)
{
    return QTest::qWaitFor([&path] {
        return QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
    });
}

// A picture with detail all through it, so that every part of its file takes decoding.
inline QImage striped(QSize size, int hue = 180)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, QColor::fromHsv((hue + x / 8) % 360, 150 + y % 100, 200).rgb());
    return image;
}

// The picture as a file of the format would hold it.
inline QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// A small JPEG whose frame header claims the size, with every colour at full resolution where
// `sampling` is 0x11: a header that promises what its few bytes never bring.
inline QByteArray claimingJpeg(QSize size, bool progressive, char sampling = 0x22)
{
    QByteArray bytes = encoded(QImage(8, 8, QImage::Format_RGB32), "jpeg", progressive);
    const qsizetype frame = bytes.indexOf(progressive ? "\xff\xc2" : "\xff\xc0");
    qToBigEndian<quint16>(size.height(), bytes.data() + frame + 5);
    qToBigEndian<quint16>(size.width(), bytes.data() + frame + 7);
    bytes[frame + 11] = sampling; // the brightness; the two colours stay at 0x11
    return bytes;
}

// Writes the bytes into a file of the name, making the folders it needs.
inline bool writeBytes(const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Writes the picture under the name, in the format.
inline bool writePicture(const QString &name, const QImage &image, const char *format = "jpeg",
                         bool progressive = false)
{
    return writeBytes(name, encoded(image, format, progressive));
}

// Writes pix/picN.jpg for each number, (81 + N) x 81 pixels, so that a hole's size tells N.
inline void writeTargets(std::initializer_list<int> numbers)
{
    for (int number : numbers)
        writePicture(QStringLiteral("pix/pic%1.jpg").arg(number),
                     striped({81 + number, 81}, number * 37));
}
