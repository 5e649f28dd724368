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
    if (!kept.stamp.regular)
        return;
    const qsizetype bytes = kept.file.image.sizeInBytes() + fileName.size();
    // The cache owns what it is given, and drops the least recently used beyond its limit.
    m_kept.insert(fileName, new Kept(kept), static_cast<int>(bytes));
}
