#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class FrmAbout;
class FrmMain;
class FrmStart;
class Game;
class PictureFolder;
class RandomSource;

// The program's three windows, one instance of each. A window is created and loaded (built from
// its definition, not shown) the first time it is referenced, and closing it unloads it: it is
// destroyed, and the next reference builds it afresh.
//
// The countdown window belongs to the main window, so it is unloaded with it and never
// outlives the window it counts down for. Once no window is loaded the program is done:
// allUnloaded() says so.
class Forms : public QObject
{
    Q_OBJECT

public:
    explicit Forms(RandomSource &random, QObject *parent = nullptr);
    ~Forms() override;

    FrmMain &frmMain();
    FrmStart &frmStart();
    FrmAbout &frmAbout();
    // The game the main window shows; each main window loaded plays a fresh one, with the
    // target pictures counted afresh.
    Game &game();

signals:
    void allUnloaded();

private:
    // The countdown from 5, which leads into a wave.
    void countDown();
    // The About window, or the open one brought to the front.
    void showAbout();
    // The countdown reached 0: the main window takes the focus and begins a wave.
    void beginWave();
    // Makes closing the window unload it, and clears its guard when it is gone.
    template<class Window>
    void unloadOnClose(QPointer<Window> &window);
    void windowUnloaded();

    RandomSource &m_random;
    std::unique_ptr<PictureFolder> m_pictures;
    std::unique_ptr<Game> m_game;
    QPointer<FrmMain> m_main;
    QPointer<FrmStart> m_start;
    QPointer<FrmAbout> m_about;
};
