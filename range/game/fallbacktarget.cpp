#include "fallbacktarget.h"

#include <QDebug>

FallbackTarget::FallbackTarget(QString fallbackFile) : m_fallbackFile(std::move(fallbackFile)) { }

TargetPicture FallbackTarget::shown(const QString &fileName, const PictureFile &file)
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
    return {.image = fallback(), .size = fallback().size()};
}

void FallbackTarget::warnOnce(const QString &fileName, const QString &what)
{
    if (m_warnedFiles.contains(fileName))
        return;
    m_warnedFiles.insert(fileName);
    qWarning().noquote().nospace() << "Target picture " << fileName << ' ' << what;
}

const QImage &FallbackTarget::fallback()
{
    if (m_fallback.isNull())
        m_fallback = QImage(m_fallbackFile);
    return m_fallback;
}
