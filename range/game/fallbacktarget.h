#pragma once

#include "pictureloader.h"

#include <QImage>
#include <QSet>
#include <QSize>
#include <QString>

// A target as a hole shows it: the top-left part of the picture that can be seen, and the size
// of the whole picture, which the hole takes.
struct TargetPicture
{
    QImage image = {};
    QSize size = {};
};

// What a hole shows of a picture file: the picture where it could be decoded, the built-in
// target where it could not. Each file that cannot be shown, or that its decoder complained of,
// is named once on the warning channel, with the reason, however often it is drawn.
class FallbackTarget
{
public:
    explicit FallbackTarget(QString fallbackFile);

    TargetPicture shown(const QString &fileName, const PictureFile &file);

private:
    void warnOnce(const QString &fileName, const QString &what);
    const QImage &fallback();

    QString m_fallbackFile;
    QImage m_fallback;
    QSet<QString> m_warnedFiles;
};
