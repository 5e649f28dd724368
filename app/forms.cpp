#include "forms.h"

#include "frmabout.h"
#include "frmstart.h"

Forms::Forms(RangeServices services, QObject *parent) : QObject(parent), m_services(services) { }

Forms::~Forms()
{
    // The program is ending: what is still loaded goes without further notice.
    for (QWidget *window : {static_cast<QWidget *>(m_about), static_cast<QWidget *>(m_start),
                            static_cast<QWidget *>(m_main)}) {
        if (window) {
            window->disconnect(this);
            delete window;
        }
    }
}

FrmMain &Forms::frmMain()
{
    if (!m_main) {
        m_main = new FrmMain(m_services);
        watch(m_main);
        connect(m_main, &FrmMain::startClicked, this, &Forms::cmdStart_Click);
        connect(m_main, &FrmMain::aboutChosen, this, &Forms::mnuAbout_Click);
    }
    return *m_main;
}

FrmStart &Forms::frmStart()
{
    if (!m_start) {
        m_start = new FrmStart;
        watch(m_start);
        connect(m_start, &FrmStart::reachedZero, this, &Forms::beginWave);
    }
    return *m_start;
}

FrmAbout &Forms::frmAbout()
{
    if (!m_about) {
        m_about = new FrmAbout;
        watch(m_about);
    }
    return *m_about;
}

template<class Window>
void Forms::watch(QPointer<Window> &window)
{
    // Closing a window unloads it.
    window->setAttribute(Qt::WA_DeleteOnClose);
    // A window announces its destruction when it is no longer of its own class, and its guard
    // still holds it then: the guard is cleared here, without being read, as reading it would
    // take the dying object for a window of its class.
    connect(window.data(), &QObject::destroyed, this, [this, &window] {
        window.clear();
        windowUnloaded();
    });
}

void Forms::windowUnloaded()
{
    if (!m_main && m_start) {
        // The countdown goes with the main window, its timer with it; its own unloading comes
        // back here.
        delete m_start.data();
        return;
    }
    if (!m_main && !m_start && !m_about)
        emit allUnloaded();
}

void Forms::cmdStart_Click()
{
    // The first touch of the countdown creates it, and its timer starts with it.
    frmStart().countDownFromFive();
}

void Forms::mnuAbout_Click()
{
    FrmAbout &about = frmAbout();
    about.show();
    about.raise();
    about.activateWindow();
}

void Forms::beginWave()
{
    // The countdown is unloaded with the main window, so a countdown that reaches 0 always has
    // its main window; the check only keeps a closing main window from being called.
    if (!m_main)
        return;
    m_main->raise();
    m_main->activateWindow();
    m_main->Start();
}
