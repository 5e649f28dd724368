#include "wave.h"

#include "draws.h"
#include "field.h"
#include "random.h"
#include "score.h"
#include "targetpictures.h"

Wave::Wave(Field &field, RandomSource &random, TargetPictures &pictures)
    : m_field(field), m_random(random), m_pictures(pictures)
{
}

qint16 Wave::PickHole()
{
    LastHole = Draws::pickHole(m_random, LastHole);
    return LastHole;
}

void Wave::placeTarget(int hole)
{
    const qint16 number = Draws::pickPicture(m_random, PictureCount);
    m_field.setHolePicture(hole, m_pictures.picture(number));
    m_field.setHoleVisible(hole, true);
}

void Wave::Start()
{
    placeTarget(PickHole());
    m_field.setTimerEnabled(true);
    m_field.setFieldEnabled(true);
}

void Wave::tmr1_Timer()
{
    m_random.reseed();
    const qint16 newHole = PickHole();
    // Each hole is looked at as the loop reaches it: when the new hole lies above the old one,
    // the loop meets the new target again, and it moves in place with a freshly drawn picture.
    for (int hole = 0; hole < Draws::holeCount; ++hole) {
        if (m_field.isHoleVisible(hole)) {
            m_field.setHoleVisible(hole, false);
            placeTarget(newHole);
        }
    }
    ++TickCount;
    if (TickCount == ticksPerWave)
        end(newHole);
    m_field.setMarkerVisible(false);
}

void Wave::end(int newHole)
{
    m_field.setTimerEnabled(false);
    m_field.setHoleVisible(newHole, false);
    m_field.setFieldEnabled(false);
    TickCount = 0;
    m_field.setCaption(Field::Caption::Precision,
                       Score::precisionText(m_field.caption(Field::Caption::Hits),
                                            m_field.caption(Field::Caption::Misses)));
}
