#include "targetpictures.h"

#include "pictureset.h"

TargetPictures::TargetPictures(const PictureLoader &loader, QString fallbackFile, QObject *parent)
    : QObject(parent), m_loader(loader), m_fallback(std::move(fallbackFile)), m_decoder(loader)
{
    connect(&m_decoder, &SideDecoder::decoded, this, &TargetPictures::decoded);
}

void TargetPictures::setVisibleSize(QSize size)
{
    const bool grown = size.expandedTo(m_visible) != m_visible;
    m_visible = size;
    if (grown)
        prefetch(m_count);
}

PictureRequest TargetPictures::request(qint16 number) const
{
    return {.number = number, .fileName = PictureSet::fileName(number), .part = m_visible};
}

std::optional<TargetPicture> TargetPictures::picture(qint16 number)
{
    const PictureRequest asked = request(number);
    const FileStamp stamp = FileStamp::of(asked.fileName);
    if (const KeptPictures::Kept *kept = m_kept.find(asked.fileName, stamp)) {
        if (!kept->covers(asked.part))
            m_decoder.decode(asked);
        return m_fallback.shown(asked.fileName, kept->file);
    }
    const PictureFile file = m_loader.load(asked.fileName, asked.part, mostPixelsAtOnce);
    if (file.overPixelLimit) {
        m_decoder.decode(asked);
        return std::nullopt;
    }
    m_kept.keep(asked.fileName, {.stamp = stamp, .part = asked.part, .file = file});
    return m_fallback.shown(asked.fileName, file);
}

void TargetPictures::prefetch(qint16 count)
{
    m_count = count;
    for (qint16 number = 0; number < count; ++number) {
        const PictureRequest asked = request(number);
        const KeptPictures::Kept *kept = m_kept.find(asked.fileName, FileStamp::of(asked.fileName));
        if (!kept || !kept->covers(asked.part))
            m_decoder.decode(asked);
    }
}

void TargetPictures::decoded(const PictureRequest &request, const FileStamp &stamp,
                             const PictureFile &file)
{
    m_kept.keep(request.fileName, {.stamp = stamp, .part = request.part, .file = file});
    emit ready(request.number, m_fallback.shown(request.fileName, file));
}
