#include "shots.h"

#include "field.h"
#include "score.h"

#include <QPointF>

namespace {
// Where the miss marker's top-left corner goes, in window twips, from a press at X, Y twips in
// the field frame, whose own top-left corner lies at (480, 120): the 465-twip marker's centre
// then falls 2.5 twips right of and 12.5 below the pressed point.
constexpr QPointF markerOffset(250, -100);
} // namespace

Shots::Shots(Field &field) : m_field(field) { }

void Shots::picHole_Click(int index)
{
    // Only a target can be shot; a hidden hole takes no clicks.
    if (!m_field.isHoleVisible(index))
        return;
    m_field.setCaption(Field::Caption::Hits, Score::addOne(m_field.caption(Field::Caption::Hits)));
    m_field.setHoleToHitPicture(index);
}

void Shots::fraField_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, float X, float Y)
{
    // Every button counts alike.
    m_field.setCaption(Field::Caption::Misses,
                       Score::addOne(m_field.caption(Field::Caption::Misses)));
    m_field.setMarkerVisible(true);
    m_field.moveMarker(QPointF(X, Y) + markerOffset);
}

void Shots::mnuNew_Click()
{
    m_field.setCaption(Field::Caption::Hits, {});
    m_field.setCaption(Field::Caption::Misses, {});
    m_field.setCaption(Field::Caption::Precision, {});
}
