#pragma once

#include "frmmain.h"

#include <QObject>
#include <QPointer>

class FrmAbout;
class FrmStart;

// The program's three windows, one instance of each. A window is created and loaded (built from
// its definition, not shown) the first time it is referenced, and closing it unloads it: it is
// destroyed, and the next reference builds it afresh.
//
// Closing the main window unloads the countdown window with it, so the countdown never outlives
// the window it counts down for. Once no window is loaded the program is done: allUnloaded()
// says so.
//
// The windows are top-level and so have no Qt parent: closing one deletes it, and Forms deletes
// whatever is still loaded when it goes.
class Forms : public QObject
{
    Q_OBJECT

public:
    explicit Forms(RangeServices services, QObject *parent = nullptr);
    ~Forms() override;

    FrmMain &frmMain();
    FrmStart &frmStart();
    FrmAbout &frmAbout();

    // Whether each window is loaded now; asking does not create it.
    bool isMainLoaded() const { return !m_main.isNull(); }
    bool isCountdownLoaded() const { return !m_start.isNull(); }
    bool isAboutLoaded() const { return !m_about.isNull(); }

signals:
    void allUnloaded();

private:
    // The main window's Start button: the countdown from 5.
    void cmdStart_Click();
    // Help > About: the About window, or the open one brought to the front.
    void mnuAbout_Click();
    // The countdown reached 0: the main window takes the focus and begins a wave.
    void beginWave();

    // Makes closing the window unload it, and clears its guard when it is gone.
    template<class Window>
    void watch(QPointer<Window> &window);
    void windowUnloaded();

    RangeServices m_services;
    QPointer<FrmMain> m_main;
    QPointer<FrmStart> m_start;
    QPointer<FrmAbout> m_about;
};
