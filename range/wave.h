#pragma once

#include <QtGlobal>

class Field;
class RandomSource;
class TargetPictures;

// A wave: twenty ticks of the wave timer during which a target jumps from hole to hole, ending
// with the precision written. Start() shows the first target and sets the timer going; each
// tick hides the target, shows a new one in another hole and hides the miss marker.
class Wave
{
public:
    static constexpr int ticksPerWave = 20;
    static constexpr int tickMilliseconds = 600;

    Wave(Field &field, RandomSource &random, TargetPictures &pictures);

    // How many target pictures there are; set once, when the main window loads.
    void setPictureCount(qint16 count) { PictureCount = count; }
    qint16 pictureCount() const { return PictureCount; }
    // Ticks so far in the running wave; 0 between waves.
    qint16 tickCount() const { return TickCount; }
    // The hole the last draw gave; the next draw gives another.
    qint16 lastHole() const { return LastHole; }

    // Begins a wave. Resets nothing: a wave already running goes on with a second target
    // standing until the next tick, and still ends at its twentieth tick.
    void Start();
    // One tick of the wave timer.
    void tmr1_Timer();

private:
    qint16 PickHole();
    void placeTarget(int hole);
    void end(int newHole);

    Field &m_field;
    RandomSource &m_random;
    TargetPictures &m_pictures;
    qint16 PictureCount = 0;
    qint16 TickCount = 0;
    qint16 LastHole = 0;
};
