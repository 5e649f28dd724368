#pragma once

#include "picturefile.h"
#include "targetpictures.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

// The player's target pictures: pix/pic0.jpg, pix/pic1.jpg and so on in the current directory,
// counted once; numbers 0 to the count less one are then taken to be valid, gaps or not.
//
// Every picture is read ahead on a thread of its own, as far as the window can show it, and
// kept while its file keeps its stamp, so that a jump never waits for a decoder: it shows its
// target at once. A picture that is not at hand yet, or whose file has changed, is read first of
// all and comes with ready(). When the window's size settles at another, each picture is read
// again for it; a target standing shows the part it has until then. What is kept is at most
// keptBytes: beyond that the pictures drawn longest ago are let go, and read again when drawn.
//
// A name that is no regular file, or a file that cannot be shown, gives the built-in target,
// and is named once on the warning channel with the reason.
class PictureFolder final : public TargetPictures
{
    Q_OBJECT

public:
    // How many names are looked at: pic0.jpg to pic20.jpg.
    static constexpr int namesLookedAt = 21;
    static constexpr qint64 keptBytes = 768LL * 1024 * 1024;
    // How long the window's size stays the same before the pictures are read for it.
    static constexpr int settleMilliseconds = 300;

    explicit PictureFolder(QObject *parent = nullptr);
    ~PictureFolder() override;

    // "pix/pic12.jpg", relative to the current directory, with the platform's separator.
    static QString fileName(int number);

    // How many of the names are regular files (a folder, a pipe or a broken link is none); the
    // pictures 0 to that count less one are then read ahead.
    qint16 count() override;
    std::optional<TargetPicture> picture(qint16 number) override;
    void setVisibleSize(QSize size) override;
    // Whether pictures are still to be read, or the window's size is still settling.
    bool isReading() const { return m_unfinished > 0 || m_settle.isActive(); }

private:
    struct Kept
    {
        PictureFile file = {};
        QSize part = {}; // the part that was asked for
        quint64 drawn = 0; // when it was last drawn
    };

    // What the folder and its reading thread share: the numbers to read, each once, in order,
    // the number being read, the part to read of each, and whether to stop. The thread holds it
    // too, so that it may finish a picture under way once the folder is gone; it then shows it
    // to no one, and ends.
    struct Queue
    {
        std::mutex mutex;
        std::condition_variable wake;
        QList<qint16> waiting;
        std::optional<qint16> reading;
        QSize part;
        std::atomic_bool stopping = false;
    };
    static void work(const std::shared_ptr<Queue> &queue, PictureFolder *folder);

    void read(qint16 number, bool first = false);
    void readAgainForTheSize();
    // Whether what is kept is all of the picture that can be seen, and no more.
    bool fits(const Kept &kept) const;
    void readDone(qint16 number, QSize part, const PictureFile &file);
    void keepWithin(qint64 bytes, qint16 spared);
    TargetPicture shown(const QString &fileName, const PictureFile &file);
    void warnOnce(const QString &fileName, const QString &what);

    QHash<qint16, Kept> m_kept;
    qint64 m_keptBytes = 0;
    int m_unfinished = 0; // the pictures asked to be read and not yet done
    quint64 m_draws = 0;
    QSize m_visible;
    QTimer m_settle;
    QSet<QString> m_warned;
    QImage m_fallback;
    const std::shared_ptr<Queue> m_queue = std::make_shared<Queue>();
};
