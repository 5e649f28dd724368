#pragma once

#include "field.h"
#include "shots.h"
#include "targetpictures.h"
#include "wave.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <memory>

class FileLookup;
class PictureBox;
class RandomSource;

namespace Ui {
class frmMain;
}

// What the shooting range takes from outside: chance, the file system and the picture decoder.
struct RangeServices
{
    RandomSource &random;
    const FileLookup &files;
    PictureLoader &pictures;
};

// The shooting range: the field with its nine holes, the score, the buttons and the menus. It
// shows what the wave and the shots make of the field, and forwards the player's presses and
// the timer's ticks to them. What lies beyond the window (the countdown, the About window) it
// asks for with signals.
class FrmMain : public QMainWindow, private Field
{
    Q_OBJECT

public:
    static constexpr QSize clientArea {337, 387}; // 5055 x 5805 twips

    explicit FrmMain(RangeServices services, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Begins a wave; the countdown calls it when it reaches 0.
    void Start();

    const Wave &wave() const { return m_wave; }

signals:
    // The Start button was pressed: the countdown is to lead into a wave.
    void startClicked();
    // Help > About was chosen.
    void aboutChosen();

private:
    void Form_Load();

    void cmdStart_Click();
    void cmdExit_Click();
    void mnuNew_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void picHole_Click(int index);
    void fraField_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float X, float Y);
    void tmr1_Timer();

    void setUpControls();
    void connectEvents();

    // Field
    bool isHoleVisible(int hole) const override;
    void setHoleVisible(int hole, bool visible) override;
    void setHolePicture(int hole, const QImage &picture) override;
    void setHoleToHitPicture(int hole) override;
    void setMarkerVisible(bool visible) override;
    void moveMarker(QPointF topLeftTwips) override;
    void setTimerEnabled(bool enabled) override;
    void setFieldEnabled(bool enabled) override;
    QString caption(Caption which) const override;
    void setCaption(Caption which, const QString &text) override;

    std::unique_ptr<Ui::frmMain> ui;
    std::array<PictureBox *, 9> picHole {};
    QTimer tmr1 {this};
    const FileLookup &m_files;
    TargetPictures m_targets;
    Wave m_wave;
    Shots m_shots;
};
