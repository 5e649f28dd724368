#include "picturefolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <thread>

using namespace Qt::StringLiterals;

PictureFolder::PictureFolder(QObject *parent) : TargetPictures(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &PictureFolder::readAgainForTheSize);
    std::thread(work, m_queue, this).detach();
}

PictureFolder::~PictureFolder()
{
    // The picture being read stops at its next read from the file; nothing waits for it.
    {
        const std::lock_guard lock(m_queue->mutex);
        m_queue->stopping = true;
    }
    m_queue->wake.notify_one();
}

QString PictureFolder::fileName(int number)
{
    return u"pix" + QDir::separator() + u"pic" + QString::number(number) + u".jpg";
}

qint16 PictureFolder::count()
{
    qint16 found = 0;
    for (int number = 0; number < namesLookedAt; ++number) {
        if (QFileInfo(fileName(number)).isFile())
            ++found;
    }
    for (qint16 number = 0; number < found; ++number)
        read(number);
    return found;
}

std::optional<TargetPicture> PictureFolder::picture(qint16 number)
{
    const QString name = fileName(number);
    const FileStamp stamp = FileStamp::of(name);
    if (!stamp.regular)
        return shown(name, {.error = stamp.refusal});
    const auto kept = m_kept.find(number);
    if (kept == m_kept.end() || kept->file.stamp != stamp) {
        if (kept != m_kept.end()) {
            m_keptBytes -= kept->file.image.sizeInBytes();
            m_kept.erase(kept);
        }
        read(number, true);
        return std::nullopt;
    }
    kept->drawn = ++m_draws;
    // A file that could not be opened may open at the next try, though its stamp is the same.
    if (kept->file.openFailed)
        read(number, true);
    return shown(name, kept->file);
}

void PictureFolder::setVisibleSize(QSize size)
{
    if (size == m_visible)
        return;
    m_visible = size;
    {
        const std::lock_guard lock(m_queue->mutex);
        m_queue->part = size;
    }
    m_settle.start();
}

void PictureFolder::read(qint16 number, bool first)
{
    {
        const std::lock_guard lock(m_queue->mutex);
        QList<qint16> &waiting = m_queue->waiting;
        // What is being read is looked at again when it comes.
        if (m_queue->reading == number)
            return;
        const qsizetype place = waiting.indexOf(number);
        if (place >= 0 && !first)
            return;
        if (place >= 0)
            waiting.remove(place);
        else
            ++m_unfinished;
        if (first)
            waiting.prepend(number);
        else
            waiting.append(number);
    }
    m_queue->wake.notify_one();
}

void PictureFolder::readAgainForTheSize()
{
    for (auto kept = m_kept.cbegin(); kept != m_kept.cend(); ++kept) {
        if (!fits(*kept))
            read(kept.key());
    }
}

void PictureFolder::work(const std::shared_ptr<Queue> &queue, PictureFolder *folder)
{
    std::unique_lock lock(queue->mutex);
    for (;;) {
        queue->wake.wait(lock, [&] { return queue->stopping || !queue->waiting.isEmpty(); });
        if (queue->stopping)
            return;
        const qint16 number = queue->waiting.takeFirst();
        const QSize part = queue->part;
        queue->reading = number;
        lock.unlock();
        const PictureFile file = PictureReading::read(fileName(number), part, queue->stopping);
        lock.lock();
        queue->reading.reset();
        if (!queue->stopping)
            QMetaObject::invokeMethod(
                folder, [folder, number, part, file] { folder->readDone(number, part, file); },
                Qt::QueuedConnection);
    }
}

void PictureFolder::readDone(qint16 number, QSize part, const PictureFile &file)
{
    --m_unfinished;
    const QString name = fileName(number);
    const FileStamp stamp = FileStamp::of(name);
    // A file that changed while it was read is read again.
    if (!file.openFailed && file.stamp != stamp) {
        read(number, true);
        return;
    }
    Kept &kept = m_kept[number];
    m_keptBytes += file.image.sizeInBytes() - kept.file.image.sizeInBytes();
    kept.file = file;
    // One that could not be opened is kept with the stamp it has now, and tried again when drawn.
    kept.file.stamp = stamp;
    kept.part = part;
    keepWithin(keptBytes, number);
    // The window may have changed its size while the picture was read; while it changes, the
    // pictures wait until it settles.
    if (!m_settle.isActive() && !fits(kept))
        read(number);
    emit ready(number, shown(name, file));
}

bool PictureFolder::fits(const Kept &kept) const
{
    const QSize whole = kept.file.size;
    return kept.file.image.isNull() || whole.boundedTo(kept.part) == whole.boundedTo(m_visible);
}

void PictureFolder::keepWithin(qint64 bytes, qint16 spared)
{
    while (m_keptBytes > bytes) {
        auto oldest = m_kept.end();
        for (auto kept = m_kept.begin(); kept != m_kept.end(); ++kept) {
            if (kept.key() != spared && !kept->file.image.isNull()
                && (oldest == m_kept.end() || kept->drawn < oldest->drawn))
                oldest = kept;
        }
        if (oldest == m_kept.end())
            return;
        m_keptBytes -= oldest->file.image.sizeInBytes();
        m_kept.erase(oldest);
    }
}

TargetPicture PictureFolder::shown(const QString &fileName, const PictureFile &file)
{
    if (!file.image.isNull()) {
        if (!file.complaint.isEmpty())
            warnOnce(fileName,
                     u"was read with complaints (" + file.complaint
                         + u"); it is shown as far as it could be decoded.");
        return {.image = file.image, .size = file.size};
    }
    warnOnce(fileName,
             u"cannot be shown (" + file.error + u"); the built-in target stands in for it.");
    if (m_fallback.isNull())
        m_fallback = QImage(u":/assets/fallback-target.png"_s);
    return {.image = m_fallback, .size = m_fallback.size()};
}

void PictureFolder::warnOnce(const QString &fileName, const QString &what)
{
    if (m_warned.contains(fileName))
        return;
    m_warned.insert(fileName);
    qWarning().noquote().nospace() << "Target picture " << fileName << ' ' << what;
}
