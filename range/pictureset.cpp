#include "pictureset.h"

#include <QDir>
#include <QFileInfo>

namespace PictureSet {

QString fileName(int number)
{
    return u"pix" + QDir::separator() + u"pic" + QString::number(number) + u".jpg";
}

qint16 count(const FileLookup &files)
{
    qint16 found = 0;
    for (int number = 0; number < namesLookedAt; ++number) {
        if (files.isFile(fileName(number)))
            ++found;
    }
    return found;
}

} // namespace PictureSet

bool DiskFileLookup::isFile(const QString &path) const
{
    return QFileInfo(path).isFile();
}
