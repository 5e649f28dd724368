#pragma once

#include "game.h"

#include <QMainWindow>

#include <array>
#include <memory>

class PictureBox;

namespace Ui {
class frmMain;
}

// The shooting range: the field with its nine holes, the score, the buttons and the menus. It
// shows the game it is handed and forwards the player's presses to it. The game is the window's
// own: it lives and dies with the window. What lies beyond the window (the countdown, the About
// window) it asks for with signals.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize clientArea {337, 387}; // 5055 x 5805 twips

    explicit FrmMain(std::unique_ptr<Game> game, QWidget *parent = nullptr);
    ~FrmMain() override;

    Game &game() const { return m_game; }

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
    void connectEvents();
    void showHole(int index);
    void showMarker();
    void showScore();

    std::unique_ptr<Ui::frmMain> ui;
    std::array<PictureBox *, Game::holeCount> picHole {};
    // Declared last, so that the game goes first, its timer and its decoding with it, while what
    // shows it is still there.
    const std::unique_ptr<Game> m_ownGame;
    Game &m_game;
};
