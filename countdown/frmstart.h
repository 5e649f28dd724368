#pragma once

#include "fixedwindow.h"

#include <QTimer>

#include <memory>

class Announcer;

namespace Ui {
class frmStart;
}

// The countdown window that leads into a wave. Its number counts down once a second from the
// moment the window is created, shown or hidden; at 3 the heading changes, and at 0 the window
// hides itself and announces that the wave is to begin. Below 0 it goes on counting, unseen,
// until the next countdown sets it to 5 again.
class FrmStart : public FixedWindow
{
    Q_OBJECT

public:
    static constexpr int startingNumber = 5;
    static constexpr int tickMilliseconds = 1000;

    explicit FrmStart(QWidget *parent = nullptr);
    ~FrmStart() override;

    // The Start button's part: writes 5 into the number, then shows the window. The timer goes
    // on as it was, so after the first countdown the first step comes within a second.
    void countDownFromFive();

signals:
    // The number reached 0 and the window hid itself: the wave begins now.
    void reachedZero();

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void tmrStart_Timer();

private:
    void showHeadingColour();
    void setNumber(int number);
    void announceNumber(bool withHeading);

    std::unique_ptr<Ui::frmStart> ui;
    QTimer tmrStart {this};
    int m_number = 0;
    Announcer *m_announcer = nullptr;
};
