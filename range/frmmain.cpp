#include "frmmain.h"

#include "ui_frmmain.h"

#include "cursorfile.h"
#include "pictureset.h"
#include "systemcolours.h"
#include "twips.h"
#include "windowframe.h"

#include <QCoreApplication>
#include <QScreen>

FrmMain::FrmMain(RangeServices services, QWidget *parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::frmMain>()),
      m_files(services.files),
      m_targets(services.pictures, QStringLiteral(":/assets/fallback-target.png")),
      m_wave(*this, services.random, m_targets),
      m_shots(*this)
{
    ui->setupUi(this);
    setUpControls();
    connectEvents();
    Form_Load();
}

FrmMain::~FrmMain() = default;

void FrmMain::setUpControls()
{
    picHole = {ui->picHole_0, ui->picHole_1, ui->picHole_2, ui->picHole_3, ui->picHole_4,
               ui->picHole_5, ui->picHole_6, ui->picHole_7, ui->picHole_8};

    const qreal pixelRatio = screen()->devicePixelRatio();
    const QCursor gunSight = CursorFile::load(QStringLiteral(":/assets/gunsight.cur"), pixelRatio);
    for (PictureBox *hole : picHole)
        hole->setCursor(gunSight);
    ui->fraField->setCursor(CursorFile::load(QStringLiteral(":/assets/crosshair.cur"), pixelRatio));

    ui->centralwidget->setAutoFillBackground(true);
    ui->centralwidget->setPalette(withWindowColour(palette(), SystemColour::Menu));
    QPalette field = withWindowColour(ui->fraField->palette(), SystemColour::InactiveBorder);
    field.setColor(QPalette::WindowText, Qt::black);
    ui->fraField->setPalette(field);

    // The separator of the File menu is a control of its own.
    for (QAction *action : ui->mnuFile->actions()) {
        if (action->isSeparator())
            action->setObjectName(QStringLiteral("mnuDash"));
    }

    tmr1.setObjectName(QStringLiteral("tmr1"));
    tmr1.setInterval(Wave::tickMilliseconds);
    // Qt's default coarse timers may be off by 5% a tick; a wave must last its twelve seconds.
    tmr1.setTimerType(Qt::PreciseTimer);

    // The client area below the menu bar; resizing the window later moves nothing.
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    resize(clientArea + QSize(0, menuHeight));
    centreOnScreen(*this);
    ui->cmdExit->setFocus();
}

void FrmMain::connectEvents()
{
    connect(ui->cmdStart, &QPushButton::clicked, this, &FrmMain::cmdStart_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &FrmMain::cmdExit_Click);
    connect(ui->mnuNew, &QAction::triggered, this, &FrmMain::mnuNew_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &FrmMain::mnuExit_Click);
    connect(ui->mnuAbout, &QAction::triggered, this, &FrmMain::mnuAbout_Click);
    for (int index = 0; index < int(picHole.size()); ++index)
        connect(picHole[index], &PictureBox::clicked, this,
                [this, index] { picHole_Click(index); });
    connect(ui->fraField, &CaptionFrame::pressed, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position) {
                fraField_MouseDown(button, shift, Twips::fromPixels(position.x()),
                                   Twips::fromPixels(position.y()));
            });
    connect(&tmr1, &QTimer::timeout, this, &FrmMain::tmr1_Timer);
}

void FrmMain::Form_Load()
{
    m_wave.setPictureCount(PictureSet::count(m_files));
}

void FrmMain::Start()
{
    m_wave.Start();
}

void FrmMain::cmdStart_Click()
{
    emit startClicked();
}

void FrmMain::cmdExit_Click()
{
    // Ends the program at once, whatever is open or running.
    QCoreApplication::exit(0);
}

void FrmMain::mnuNew_Click()
{
    m_shots.mnuNew_Click();
}

void FrmMain::mnuExit_Click()
{
    close();
}

void FrmMain::mnuAbout_Click()
{
    emit aboutChosen();
}

void FrmMain::picHole_Click(int index)
{
    m_shots.picHole_Click(index);
}

void FrmMain::fraField_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float X,
                                 float Y)
{
    m_shots.fraField_MouseDown(button, shift, X, Y);
}

void FrmMain::tmr1_Timer()
{
    m_wave.tmr1_Timer();
}

bool FrmMain::isHoleVisible(int hole) const
{
    return !picHole.at(hole)->isHidden();
}

void FrmMain::setHoleVisible(int hole, bool visible)
{
    picHole.at(hole)->setVisible(visible);
}

void FrmMain::setHolePicture(int hole, const QImage &picture)
{
    PictureBox *box = picHole.at(hole);
    box->setPicture(QPixmap::fromImage(picture));
    box->setAccessibleDescription(tr("Target"));
}

void FrmMain::setHoleToHitPicture(int hole)
{
    PictureBox *box = picHole.at(hole);
    box->setPicture(ui->picHit->picture());
    box->setAccessibleDescription(tr("Fireball"));
}

void FrmMain::setMarkerVisible(bool visible)
{
    ui->picExplo->setVisible(visible);
}

void FrmMain::moveMarker(QPointF topLeftTwips)
{
    ui->picExplo->move(Twips::toPixels(topLeftTwips.x()), Twips::toPixels(topLeftTwips.y()));
}

void FrmMain::setTimerEnabled(bool enabled)
{
    if (!enabled)
        tmr1.stop();
    else if (!tmr1.isActive())
        tmr1.start();
}

void FrmMain::setFieldEnabled(bool enabled)
{
    ui->fraField->setEnabled(enabled);
}

QString FrmMain::caption(Caption which) const
{
    switch (which) {
    case Caption::Hits:
        return ui->lblOut->text();
    case Caption::Misses:
        return ui->lblMiss->text();
    case Caption::Precision:
        return ui->lblTotal->text();
    }
    Q_UNREACHABLE();
}

void FrmMain::setCaption(Caption which, const QString &text)
{
    switch (which) {
    case Caption::Hits:
        ui->lblOut->setValue(text);
        return;
    case Caption::Misses:
        ui->lblMiss->setValue(text);
        return;
    case Caption::Precision:
        ui->lblTotal->setValue(text);
        return;
    }
}
