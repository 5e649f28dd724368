#include "targetpictures.h"

#include "pictureset.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

TargetPictures::FileStamp TargetPictures::FileStamp::of(const QString &fileName)
{
#ifdef Q_OS_LINUX
    // Straight from the file system: QFileInfo would turn each time into local time first.
    struct stat status = {};
    if (::stat(QFile::encodeName(fileName).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    const auto nanoseconds = [](timespec time) {
        return time.tv_sec * 1'000'000'000LL + time.tv_nsec;
    };
    return {true, status.st_size, nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
            qint64(status.st_ino)};
#else
    const QFileInfo file(fileName);
    if (!file.isFile())
        return {};
    return {true, file.size(), file.lastModified().toMSecsSinceEpoch(),
            file.metadataChangeTime().toMSecsSinceEpoch()};
#endif
}

TargetPictures::TargetPictures(const PictureLoader &loader, QString fallbackFile, QObject *parent)
    : QObject(parent), m_loader(loader), m_fallbackFile(std::move(fallbackFile))
{
    // One picture at a time, so that the other core stays free for the game.
    m_decoder.setMaxThreadCount(1);
}

TargetPictures::~TargetPictures()
{
    // Pictures not yet begun are not wanted any more; the one under way is finished.
    m_decoder.clear();
    m_decoder.waitForDone();
}

std::optional<TargetPicture> TargetPictures::picture(qint16 number)
{
    const QString fileName = PictureSet::fileName(number);
    const FileStamp stamp = FileStamp::of(fileName);
    if (const Kept *found = kept(fileName, stamp))
        return shown(fileName, found->file);
    const QSize part = m_visible;
    const PictureFile file = m_loader.load(fileName, part, mostPixelsAtOnce);
    if (file.deferred) {
        decodeOnTheSide(number);
        return std::nullopt;
    }
    keep(fileName, stamp, part, file);
    return shown(fileName, file);
}

void TargetPictures::prefetch(qint16 count)
{
    for (qint16 number = 0; number < count; ++number) {
        const QString fileName = PictureSet::fileName(number);
        if (!kept(fileName, FileStamp::of(fileName)))
            decodeOnTheSide(number);
    }
}

const TargetPictures::Kept *TargetPictures::kept(const QString &fileName,
                                                 const FileStamp &stamp) const
{
    const Kept *found = m_kept.object(fileName);
    if (!found || !(found->stamp == stamp))
        return nullptr;
    // A picture decoded in part must cover what can be seen now.
    const QSize decoded = found->file.image.size();
    const bool whole = found->file.image.isNull() || decoded == found->file.size;
    return whole || found->part.expandedTo(m_visible) == found->part ? found : nullptr;
}

void TargetPictures::keep(const QString &fileName, const FileStamp &stamp, QSize part,
                          const PictureFile &file)
{
    if (!stamp.regular)
        return;
    const qsizetype bytes = file.image.sizeInBytes() + fileName.size();
    // The cache owns what it is given, and drops the least recently used beyond its limit.
    m_kept.insert(fileName, new Kept {stamp, part, file}, static_cast<int>(bytes));
}

void TargetPictures::decodeOnTheSide(qint16 number)
{
    if (m_decoding.contains(number))
        return;
    m_decoding.insert(number);
    const QString fileName = PictureSet::fileName(number);
    const QSize part = m_visible;
    m_decoder.start([this, number, fileName, part] {
        const FileStamp stamp = FileStamp::of(fileName);
        const PictureFile file = m_loader.load(fileName, part, PictureLoader::noLimit);
        QMetaObject::invokeMethod(
            this, [this, number, stamp, part, file] { decoded(number, stamp, part, file); },
            Qt::QueuedConnection);
    });
}

void TargetPictures::decoded(qint16 number, const FileStamp &stamp, QSize part,
                             const PictureFile &file)
{
    m_decoding.remove(number);
    const QString fileName = PictureSet::fileName(number);
    keep(fileName, stamp, part, file);
    emit ready(number, shown(fileName, file));
}

TargetPicture TargetPictures::shown(const QString &fileName, const PictureFile &file)
{
    if (!file.image.isNull()) {
        if (!file.complaint.isEmpty())
            warnOnce(fileName,
                     u"was read with complaints (" + file.complaint
                         + u"); it is shown as far as it could be decoded.");
        return {file.image, file.size};
    }
    warnOnce(fileName,
             u"cannot be shown (" + file.error + u"); the built-in target stands in for it.");
    return {fallback(), fallback().size()};
}

void TargetPictures::warnOnce(const QString &fileName, const QString &what)
{
    if (m_warnedFiles.contains(fileName))
        return;
    m_warnedFiles.insert(fileName);
    qWarning().noquote().nospace() << "Target picture " << fileName << ' ' << what;
}

const QImage &TargetPictures::fallback()
{
    if (m_fallback.isNull())
        m_fallback = QImage(m_fallbackFile);
    return m_fallback;
}
