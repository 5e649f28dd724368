#include "pictureset.h"

#include <QDir>
#include <QFileInfo>

namespace PictureSet {

QString fileName(int number)
{
    return u"pix" + QDir::separator() + u"pic" + QString::number(number) + u".jpg";
}

qint16 count()
{
    qint16 found = 0;
    for (int number = 0; number < namesLookedAt; ++number) {
        if (QFileInfo(fileName(number)).isFile())
            ++found;
    }
    return found;
}

} // namespace PictureSet
