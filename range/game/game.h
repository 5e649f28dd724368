#pragma once

#include "targetpictures.h"

#include <QImage>
#include <QObject>
#include <QPointF>
#include <QSize>
#include <QTimer>

#include <array>
#include <optional>

class RandomSource;

// One of the nine holes of the field. A target stands in it from the moment it is placed until
// a tick moves it on; once hit, it shows the fireball until then.
struct Hole
{
    bool standing = false;
    bool hit = false;
    // The number of the picture drawn for it, what of that picture can be seen (null until the
    // picture is at hand, and once the target is gone), and the whole picture's size, which the
    // hole takes.
    qint16 pictureNumber = 0;
    QImage picture;
    QSize size;

    // Whether the player sees a target (or a fireball) there.
    bool shown() const { return standing && (hit || !picture.isNull()); }
};

// The shooting range's game: waves of twenty ticks during which a target jumps from hole to hole
// (index 0..8, three times the row plus the column), the player's shots at it, and the score.
// It holds the whole state as values and announces each change; the main window shows it and
// forwards the player's presses. Chance and the pictures come from outside.
class Game : public QObject
{
    Q_OBJECT

public:
    static constexpr int holeCount = 9;
    static constexpr int ticksPerWave = 20;
    static constexpr int tickMilliseconds = 600;

    Game(RandomSource &random, TargetPictures &pictures, QObject *parent = nullptr);

    // Counts the target pictures; done once, when the range opens.
    void countPictures();
    // How much of a target can be seen, in pixels from its hole's corner.
    void setVisibleSize(QSize size) { m_pictures.setVisibleSize(size); }

    qint16 pictureCount() const { return m_pictureCount; }
    qint16 tickCount() const { return m_tickCount; }
    qint16 lastHole() const { return m_lastHole; }
    // A wave is running: the ticks come and the field takes shots.
    bool isRunning() const { return m_timer.isActive(); }
    // The timer that paces a wave (tmr1), for those who watch it: it runs while a wave does.
    const QTimer &waveTimer() const { return m_timer; }
    const Hole &hole(int index) const { return m_holes.at(index); }
    bool isMarkerShown() const { return m_markerShown; }
    // The miss marker's top-left corner, in twips of the window.
    QPointF markerPosition() const { return m_markerPosition; }
    // The score: blank after New Game until the first shot (or, for the precision, the end of
    // a wave).
    std::optional<int> hits() const { return m_hits; }
    std::optional<int> misses() const { return m_misses; }
    std::optional<int> precision() const { return m_precision; }

    // Begins a wave. Resets nothing: a wave already running goes on with a second target
    // standing until the next tick, and still ends at its twentieth tick.
    void start();
    // One tick of the wave: the target jumps, the marker goes; the twentieth ends the wave.
    void tick();
    // A click on a hole: a hit when a target (or its fireball) is seen there.
    void shootHole(int index);
    // A press on the field, at a point in twips from the field's top-left corner: a miss while
    // a wave runs. The marker shows where it landed.
    void shootField(QPointF twips);
    // Clears the score, and nothing else.
    void newGame();

signals:
    void holeChanged(int index);
    void markerChanged();
    void scoreChanged();
    void runningChanged(bool running);

private:
    // Draws the hole of the next target, and remembers it as the last one.
    qint16 pickAndRecordHole();
    void placeTarget(int index);
    void showPicture(int index, const TargetPicture &picture);
    void pictureReady(qint16 number, const TargetPicture &picture);
    void setStanding(int index, bool standing);
    void setRunning(bool running);
    void setMarkerShown(bool shown);
    void endWave(int newHole);

    RandomSource &m_random;
    TargetPictures &m_pictures;
    QTimer m_timer;
    std::array<Hole, holeCount> m_holes {};
    qint16 m_pictureCount = 0;
    qint16 m_tickCount = 0;
    qint16 m_lastHole = 0;
    bool m_markerShown = false;
    QPointF m_markerPosition;
    std::optional<int> m_hits;
    std::optional<int> m_misses;
    std::optional<int> m_precision;
};
