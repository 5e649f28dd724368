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
// shows the game it is handed and forwards the player's presses to it. What lies beyond the window
// (the countdown, the About window) it asks for with signals.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr QSize clientArea {337, 387}; // 5055 x 5805 twips

    explicit FrmMain(Game &game, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Begins a wave; the countdown calls it when it reaches 0.
    void Start();

signals:
    // The Start button was pressed: the countdown is to lead into a wave.
    void startClicked();
    // Help > About was chosen.
    void aboutChosen();

protected:
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void cmdExit_Click();
    void mnuExit_Click();
    void picHole_Click(int index);
    void fraField_MouseDown(QPointF position);

private:
    void setUpControls();
    // How much of a target can be seen in a client area of the size.
    QSize visiblePart(QSize client) const;
    void connectEvents();
    void showHole(int index);
    void showMarker();
    void showScore();

    std::unique_ptr<Ui::frmMain> ui;
    std::array<PictureBox *, Game::holeCount> picHole {};
    Game &m_game;
    Announcer *m_announcer = nullptr;
};
