#pragma once

#include "targetpictures.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh temporary folder that is the current directory for as long as the object lives.
class TemporaryCurrentDir
{
public:
    explicit TemporaryCurrentDir(const QString &name = QStringLiteral("varkoz-XXXXXX"))
        : m_dir(QDir::temp().filePath(name)), m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
    }
    ~TemporaryCurrentDir() { QDir::setCurrent(m_previous); }
    TemporaryCurrentDir(const TemporaryCurrentDir &) = delete;
    TemporaryCurrentDir &operator=(const TemporaryCurrentDir &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Writes a real JPEG of one colour, with a darker square in the middle so it is not flat.
inline bool writeJpeg(const QString &path, QSize size = {81, 81}, QColor colour = Qt::darkCyan)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QRect middle(size.width() / 4, size.height() / 4, size.width() / 2, size.height() / 2);
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            image.setPixelColor(x, y, colour.darker());
    return image.save(path, "JPEG", 90);
}

// Writes pix/picN.jpg for each number, each a different colour, in the current directory.
inline void writeTargetPictures(std::initializer_list<int> numbers, QSize size = {81, 81})
{
    for (int number : numbers)
        writeJpeg(QStringLiteral("pix/pic%1.jpg").arg(number), size,
                  QColor::fromHsv((number * 37) % 360, 200, 220));
}

// The real loader, counting what it was asked to load.
class CountingLoader final : public PictureLoader
{
public:
    PictureFile load(const QString &fileName) override
    {
        m_loaded.append(QDir::fromNativeSeparators(fileName));
        return m_disk.load(fileName);
    }
    const QStringList &loaded() const { return m_loaded; }
    void clear() { m_loaded.clear(); }

private:
    DiskPictureLoader m_disk;
    QStringList m_loaded;
};
