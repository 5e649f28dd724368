#pragma once

#include <QSize>
#include <QString>
#include <QTemporaryDir>

// A temporary folder of target pictures, pix/pic0.jpg onwards, laid out as the game reads them
// from its current directory. The folder goes when the object goes.
class TargetFolder
{
public:
    // Writes count JPEG pictures of the given pixel size, each different.
    TargetFolder(int count, QSize size);

    bool isValid() const { return m_valid; }
    QString path() const { return m_dir.path(); }
    QSize pictureSize() const { return m_size; }
    // The file of the first picture, as the game names it relative to the folder.
    QString firstPicture() const;

    // Makes the folder the current directory; the game reads its pictures from there.
    void enter() const;

private:
    QTemporaryDir m_dir;
    QSize m_size;
    bool m_valid = false;
};

// Writes a baseline JPEG with the detail of a photograph (soft gradients with fine grain), so
// that it costs to decode what a real picture of its size costs. The seed varies the picture.
bool writePhotoLikeJpeg(const QString &path, QSize size, int seed);
