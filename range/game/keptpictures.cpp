#include "keptpictures.h"

bool KeptPictures::Kept::covers(QSize visible) const
{
    const bool whole = file.image.isNull() || file.image.size() == file.size;
    return whole || part.expandedTo(visible) == part;
}

const KeptPictures::Kept *KeptPictures::find(const QString &fileName, const FileStamp &stamp) const
{
    const Kept *found = m_kept.object(fileName);
    return found && found->stamp == stamp ? found : nullptr;
}

void KeptPictures::keep(const QString &fileName, const Kept &kept)
{
    // A file that could not be opened is tried again each time: it may open at the next try
    // without any change to its stamp.
    if (!kept.stamp.regular || kept.file.openFailed)
        return;
    const qsizetype bytes = kept.file.image.sizeInBytes() + fileName.size();
    // The cache owns what it is given, and drops the least recently used beyond its limit.
    m_kept.insert(fileName, new Kept(kept), static_cast<int>(bytes));
}
