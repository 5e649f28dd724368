#include "filestamp.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

FileStamp FileStamp::of(const QString &fileName)
{
#ifdef Q_OS_LINUX
    // Straight from the file system: QFileInfo would turn each time into local time first.
    struct stat status = {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    const auto nanoseconds = [](timespec time) {
        return time.tv_sec * 1'000'000'000LL + time.tv_nsec;
    };
    return {.regular = true,
            .size = status.st_size,
            .modified = nanoseconds(status.st_mtim),
            .changed = nanoseconds(status.st_ctim),
            .identity = qint64(status.st_ino)};
#else
    const QFileInfo file(fileName);
    if (!file.isFile())
        return {};
    return {.regular = true,
            .size = file.size(),
            .modified = file.lastModified().toMSecsSinceEpoch(),
            .changed = file.metadataChangeTime().toMSecsSinceEpoch()};
#endif
}
