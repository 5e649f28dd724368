#include "game.h"

#include "draws.h"
#include "random.h"
#include "score.h"

using namespace Qt::StringLiterals;

namespace {
// Where the miss marker's top-left corner goes, in window twips, from a press at X, Y twips in
// the field, whose own top-left corner lies at (480, 120): the 465-twip marker's centre then
// falls 2.5 twips right of and 12.5 below the pressed point.
constexpr QPointF markerOffset(250, -100);
} // namespace

Game::Game(RandomSource &random, TargetPictures &pictures, QObject *parent)
    : QObject(parent), m_random(random), m_pictures(pictures)
{
    m_timer.setObjectName(u"tmr1"_s);
    m_timer.setInterval(tickMilliseconds);
    // Qt's default coarse timers may be off by 5% a tick; a wave must last its twelve seconds.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Game::tick);
    connect(&m_pictures, &TargetPictures::ready, this, &Game::pictureReady);
}

void Game::countPictures()
{
    m_pictureCount = m_pictures.count();
}

qint16 Game::pickAndRecordHole()
{
    m_lastHole = Draws::pickHole(m_random, m_lastHole);
    return m_lastHole;
}

void Game::placeTarget(int index)
{
    Hole &hole = m_holes.at(index);
    hole.pictureNumber = Draws::pickPicture(m_random, m_pictureCount);
    hole.standing = true;
    hole.hit = false;
    hole.picture = {};
    if (const std::optional<TargetPicture> picture = m_pictures.picture(hole.pictureNumber))
        showPicture(index, *picture);
    else
        emit holeChanged(index);
}

void Game::showPicture(int index, const TargetPicture &picture)
{
    Hole &hole = m_holes.at(index);
    hole.picture = picture.image;
    hole.size = picture.size;
    emit holeChanged(index);
}

void Game::pictureReady(qint16 number, const TargetPicture &picture)
{
    // A target waiting for its picture shows now; one that shows a smaller part of it, from
    // before the window grew, shows the larger part. A fireball stays.
    for (int index = 0; index < holeCount; ++index) {
        const Hole &hole = m_holes.at(index);
        if (hole.standing && !hole.hit && hole.pictureNumber == number)
            showPicture(index, picture);
    }
}

void Game::setStanding(int index, bool standing)
{
    Hole &hole = m_holes.at(index);
    hole.standing = standing;
    // A hole without a target keeps no picture.
    if (!standing)
        hole.picture = {};
    emit holeChanged(index);
}

void Game::setRunning(bool running)
{
    // A wave already running keeps its timer as it is.
    if (isRunning() == running)
        return;
    if (running)
        m_timer.start();
    else
        m_timer.stop();
    emit runningChanged(running);
}

void Game::setMarkerShown(bool shown)
{
    if (m_markerShown == shown)
        return;
    m_markerShown = shown;
    emit markerChanged();
}

void Game::start()
{
    placeTarget(pickAndRecordHole());
    setRunning(true);
}

void Game::tick()
{
    m_random.reseed();
    const qint16 newHole = pickAndRecordHole();
    // Each hole is looked at as the loop reaches it: when the new hole lies above the old one,
    // the loop meets the new target again, and it moves in place with a freshly drawn picture.
    for (int index = 0; index < holeCount; ++index) {
        if (m_holes.at(index).standing) {
            setStanding(index, false);
            placeTarget(newHole);
        }
    }
    ++m_tickCount;
    if (m_tickCount == ticksPerWave)
        endWave(newHole);
    setMarkerShown(false);
}

void Game::endWave(int newHole)
{
    setRunning(false);
    setStanding(newHole, false);
    m_tickCount = 0;
    m_precision = precisionPercent(m_hits.value_or(0), m_misses.value_or(0));
    emit scoreChanged();
}

void Game::shootHole(int index)
{
    Hole &hole = m_holes.at(index);
    if (!hole.shown())
        return;
    m_hits = m_hits.value_or(0) + 1;
    emit scoreChanged();
    hole.hit = true;
    emit holeChanged(index);
}

void Game::shootField(QPointF twips)
{
    if (!isRunning())
        return;
    m_misses = m_misses.value_or(0) + 1;
    emit scoreChanged();
    m_markerPosition = twips + markerOffset;
    m_markerShown = true;
    emit markerChanged();
}

void Game::newGame()
{
    m_hits.reset();
    m_misses.reset();
    m_precision.reset();
    emit scoreChanged();
}
