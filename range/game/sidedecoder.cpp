#include "sidedecoder.h"

SideDecoder::SideDecoder(const PictureLoader &loader, QObject *parent)
    : QObject(parent), m_loader(loader)
{
    m_pool.setMaxThreadCount(1);
}

SideDecoder::~SideDecoder()
{
    // Pictures not yet begun are not wanted any more; the one under way is finished.
    m_pool.clear();
    m_pool.waitForDone();
}

void SideDecoder::decode(const PictureRequest &request)
{
    QList<QSize> &underWay = m_underWay[request.fileName];
    for (const QSize part : std::as_const(underWay)) {
        if (part.expandedTo(request.part) == part)
            return;
    }
    underWay.append(request.part);
    m_pool.start([this, request] {
        const FileStamp stamp = FileStamp::of(request.fileName);
        const PictureFile file =
            m_loader.load(request.fileName, request.part, PictureLoader::noLimit);
        QMetaObject::invokeMethod(
            this, [this, request, stamp, file] { finished(request, stamp, file); },
            Qt::QueuedConnection);
    });
}

void SideDecoder::finished(const PictureRequest &request, const FileStamp &stamp,
                           const PictureFile &file)
{
    QList<QSize> &underWay = m_underWay[request.fileName];
    underWay.removeOne(request.part);
    if (underWay.isEmpty())
        m_underWay.remove(request.fileName);
    emit decoded(request, stamp, file);
}
