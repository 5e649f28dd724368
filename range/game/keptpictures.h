#pragma once

#include "filestamp.h"
#include "pictureloader.h"

#include <QCache>
#include <QSize>
#include <QString>

// Decoded pictures kept for reuse, each for as long as its file keeps its stamp; beyond
// keptBytes the least recently used are dropped.
class KeptPictures
{
public:
    static constexpr int keptBytes = 64 * 1024 * 1024;

    struct Kept
    {
        FileStamp stamp = {};
        QSize part = {}; // the part that was asked for
        PictureFile file = {};

        // Whether it shows all of the picture that can be seen at the size: it was decoded
        // whole, or in a part at least that large.
        bool covers(QSize visible) const;
    };

    // What is kept of the file, whatever its part, while the file keeps the stamp.
    const Kept *find(const QString &fileName, const FileStamp &stamp) const;
    // Keeps what was read of a regular file (not a failure to open it, which may pass).
    void keep(const QString &fileName, const Kept &kept);

private:
    QCache<QString, Kept> m_kept {keptBytes};
};
