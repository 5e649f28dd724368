#pragma once

#include <QImage>
#include <QObject>
#include <QSize>

#include <optional>

// A target as a hole shows it: the top-left part of the picture that can be seen, and the size
// of the whole picture, which the hole takes.
struct TargetPicture
{
    QImage image = {};
    QSize size = {};
};

// Where the game's targets come from: pictures numbered from 0, counted once. A picture may not
// be at hand when it is drawn; it then comes with ready(), as may a larger part of one when the
// window has grown. Tests put pictures of their own in the place of the player's files.
class TargetPictures : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Counts the pictures there are; done once, when the range opens.
    virtual qint16 count() = 0;
    // The picture for the number now, or none yet.
    virtual std::optional<TargetPicture> picture(qint16 number) = 0;
    // How much of a picture can be seen from its top-left corner.
    virtual void setVisibleSize(QSize size) = 0;

signals:
    void ready(qint16 number, const TargetPicture &picture);
};
