#pragma once

#include "filestamp.h"
#include "pictureloader.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

// A picture asked for by its number: the file it lies in, and the part of it that can be seen.
struct PictureRequest
{
    qint16 number = 0;
    QString fileName = {};
    QSize part = {};
};

// Decodes pictures on a thread of its own, one at a time, so that the other core stays free
// for the game, and hands each back on the game's thread with the stamp its file had. A request
// already under way for at least as large a part is not made twice.
class SideDecoder : public QObject
{
    Q_OBJECT

public:
    explicit SideDecoder(const PictureLoader &loader, QObject *parent = nullptr);
    ~SideDecoder() override;

    void decode(const PictureRequest &request);

signals:
    void decoded(const PictureRequest &request, const FileStamp &stamp, const PictureFile &file);

private:
    void finished(const PictureRequest &request, const FileStamp &stamp, const PictureFile &file);

    const PictureLoader &m_loader;
    QHash<QString, QList<QSize>> m_underWay; // the parts being decoded, by file
    // Declared last, so that it is gone, its decoding done, before what it uses.
    QThreadPool m_pool;
};
