#pragma once

#include "game.h"

#include <QMainWindow>

#include <array>
#include <memory>

class Announcer;
class PictureBox;

namespace Ui {
class frmMain;
}

// The shooting range: the field with its nine holes, the score, the buttons and the menus. It
// plays a game of its own, which lives and dies with it, shows it and forwards the player's
// presses to it. What lies beyond the window (the countdown, the About window) it asks for with
// signals.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize clientArea {337, 387}; // 5055 x 5805 twips

    // The window plays its own game, with chance from the source and the target pictures given.
    FrmMain(RandomSource &random, std::unique_ptr<TargetPictures> pictures,
            QWidget *parent = nullptr);
    ~FrmMain() override;

    Game &game() { return m_game; }
    const Game &game() const { return m_game; }

    // Begins a wave; the countdown calls it when it reaches 0.
    void Start();

signals:
    // The Start button was pressed: the countdown is to lead into a wave.
    void startClicked();
    // Help > About was chosen.
    void aboutChosen();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void cmdExit_Click();
    void mnuExit_Click();
    void picHole_Click(int index);
    void fraField_MouseDown(QPointF position);

private:
    void setUpControls();
    void showSystemColours();
    // How much of a target can be seen in a client area of the size.
    QSize visiblePart(QSize client) const;
    void connectEvents();
    void showHole(int index);
    void showMarker();
    void showScore();

    std::unique_ptr<Ui::frmMain> ui;
    std::array<PictureBox *, Game::holeCount> picHole {};
    Announcer *m_announcer = nullptr;
    // The game and its pictures live and die with the window: once it is unloaded no timer of
    // the game ticks and no picture is read. Declared last, the game after its pictures, so that
    // the game goes first, and both while what shows them is still there.
    const std::unique_ptr<TargetPictures> m_pictures;
    Game m_game;
};
