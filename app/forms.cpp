#include "forms.h"

#include "frmabout.h"
#include "frmmain.h"
#include "frmstart.h"
#include "game.h"
#include "picturefolder.h"

Forms::Forms(RandomSource &random, QObject *parent) : QObject(parent), m_random(random) { }

Forms::~Forms()
{
    // The program is ending: what is still loaded goes without further notice.
    for (QWidget *window :
         {static_cast<QWidget *>(m_about.data()), static_cast<QWidget *>(m_main.data())}) {
        if (window) {
            window->disconnect(this);
            delete window;
        }
    }
}

FrmMain &Forms::frmMain()
{
    if (m_main.isNull()) {
        m_game.reset();
        m_pictures = std::make_unique<PictureFolder>();
        m_game = std::make_unique<Game>(m_random, *m_pictures);
        m_main = new FrmMain(*m_game);
        unloadOnClose(m_main);
        connect(m_main, &FrmMain::startClicked, this, &Forms::countDown);
        connect(m_main, &FrmMain::aboutChosen, this, &Forms::showAbout);
    }
    return *m_main;
}

Game &Forms::game()
{
    frmMain();
    return *m_game;
}

FrmStart &Forms::frmStart()
{
    if (m_start.isNull()) {
        m_start = new FrmStart(&frmMain());
        unloadOnClose(m_start);
        connect(m_start, &FrmStart::reachedZero, this, &Forms::beginWave);
    }
    return *m_start;
}

FrmAbout &Forms::frmAbout()
{
    if (m_about.isNull()) {
        m_about = new FrmAbout;
        unloadOnClose(m_about);
    }
    return *m_about;
}

template<class Window>
void Forms::unloadOnClose(QPointer<Window> &window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    // A window announces its destruction when it is no longer of its own class, while its guard
    // still holds it: the guard is cleared here without being read, as reading it would take
    // the dying object for a window of its class.
    connect(window.data(), &QObject::destroyed, this, [this, &window] {
        window.clear();
        windowUnloaded();
    });
}

void Forms::windowUnloaded()
{
    if (m_main.isNull() && m_about.isNull())
        emit allUnloaded();
}

void Forms::countDown()
{
    // The first touch of the countdown creates it, and its timer starts with it.
    frmStart().countDownFromFive();
}

void Forms::showAbout()
{
    FrmAbout &about = frmAbout();
    about.show();
    about.raise();
    about.activateWindow();
}

void Forms::beginWave()
{
    FrmMain &main = frmMain();
    main.raise();
    main.activateWindow();
    main.Start();
}
