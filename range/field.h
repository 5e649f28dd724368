#pragma once

#include <QImage>
#include <QPointF>
#include <QString>

// The controls of the shooting range that the game logic reads and changes: the nine holes
// (index 0..8, three times the row plus the column), the miss marker, the wave timer, the field
// frame and the score captions. The main window is the real one; the logic sees only this.
class Field
{
public:
    enum class Caption { Hits, Misses, Precision };

    virtual ~Field() = default;

    // Whether the hole is set to show; its own flag, whatever its window is doing.
    virtual bool isHoleVisible(int hole) const = 0;
    virtual void setHoleVisible(int hole, bool visible) = 0;
    // The hole takes the picture and its pixel size, keeping its top-left corner.
    virtual void setHolePicture(int hole, const QImage &picture) = 0;
    // The hole takes the hit picture, the fireball.
    virtual void setHoleToHitPicture(int hole) = 0;

    virtual void setMarkerVisible(bool visible) = 0;
    // Moves the miss marker's top-left corner, given in window twips; its size stays.
    virtual void moveMarker(QPointF topLeftTwips) = 0;

    // Enabling the wave timer while it runs changes nothing: it is not restarted.
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void setFieldEnabled(bool enabled) = 0;

    virtual QString caption(Caption which) const = 0;
    virtual void setCaption(Caption which, const QString &text) = 0;
};
