#include "frmmain.h"

#include "ui_frmmain.h"

#include "announcer.h"
#include "cursorfile.h"
#include "systemcolours.h"
#include "twips.h"
#include "windowframe.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QScreen>

namespace {
QString countText(std::optional<int> count)
{
    return count ? QString::number(*count) : QString();
}
} // namespace

FrmMain::FrmMain(RandomSource &random, std::unique_ptr<TargetPictures> pictures, QWidget *parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::frmMain>()),
      m_pictures(std::move(pictures)),
      m_game(random, *m_pictures)
{
    ui->setupUi(this);
    m_announcer = new Announcer(ui->centralwidget);
    setUpControls();
    connectEvents();
    // The window's load: the target pictures are counted once, before it first shows.
    m_game.countPictures();
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
    showSystemColours();

    // The separator of the File menu is a control of its own.
    for (QAction *action : ui->mnuFile->actions()) {
        if (action->isSeparator())
            action->setObjectName(QStringLiteral("mnuDash"));
    }

    // The client area below the menu bar; resizing the window later moves nothing. The menu bar
    // gets the height it takes at the window's width, in its style, which under the Windows
    // styles is a line more than its size hint (the space they leave below it).
    QMenuBar *menu = menuBar();
    menu->ensurePolished();
    const int menuHeight = menu->isNativeMenuBar() ? 0 : menu->heightForWidth(clientArea.width());
    resize(clientArea + QSize(0, menuHeight));
    m_game.setVisibleSize(visiblePart(clientArea));
    centreOnScreen(*this);
    ui->cmdExit->setFocus();
}

void FrmMain::showSystemColours()
{
    // The client area in the menu colour and the field in the inactive border's, each with text
    // that reads on it: the desktop's text colour, and black for the field's caption, where they
    // read.
    QPalette client = withWindowColour(palette(), SystemColour::Menu);
    client.setColor(
        QPalette::WindowText,
        readableOn(client.color(QPalette::Window), palette().color(QPalette::WindowText)));
    ui->centralwidget->setPalette(client);
    QPalette field = withWindowColour(client, SystemColour::InactiveBorder);
    field.setColor(QPalette::WindowText, readableOn(field.color(QPalette::Window), Qt::black));
    ui->fraField->setPalette(field);
}

void FrmMain::connectEvents()
{
    connect(ui->cmdStart, &QPushButton::clicked, this, &FrmMain::startClicked);
    connect(ui->cmdExit, &QPushButton::clicked, this, &FrmMain::cmdExit_Click);
    connect(ui->mnuNew, &QAction::triggered, &m_game, &Game::newGame);
    connect(ui->mnuExit, &QAction::triggered, this, &FrmMain::mnuExit_Click);
    connect(ui->mnuAbout, &QAction::triggered, this, &FrmMain::aboutChosen);
    for (int index = 0; index < Game::holeCount; ++index)
        connect(picHole.at(index), &PictureBox::clicked, this,
                [this, index] { picHole_Click(index); });
    connect(ui->fraField, &CaptionFrame::pressed, this, &FrmMain::fraField_MouseDown);

    connect(&m_game, &Game::holeChanged, this, &FrmMain::showHole);
    connect(&m_game, &Game::markerChanged, this, &FrmMain::showMarker);
    connect(&m_game, &Game::scoreChanged, this, &FrmMain::showScore);
    connect(&m_game, &Game::runningChanged, ui->fraField, &QWidget::setEnabled);
    connect(&m_game, &Game::runningChanged, this, [this](bool running) {
        if (running)
            m_announcer->announce(tr("Wave started"));
    });
}

void FrmMain::Start()
{
    m_game.start();
}

void FrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // The desktop's theme changed while the window is open: the system colours are taken again.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        showSystemColours();
}

QSize FrmMain::visiblePart(QSize client) const
{
    // From the corner of the hole nearest the window's, the first.
    const QPoint corner = picHole.front()->pos();
    return (client - QSize(corner.x(), corner.y())).expandedTo({1, 1});
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A larger window shows more of a large target picture, a smaller one less.
    m_game.setVisibleSize(visiblePart(ui->centralwidget->size()));
}

void FrmMain::cmdExit_Click()
{
    // Ends the program at once, whatever is open or running.
    QCoreApplication::exit(0);
}

void FrmMain::mnuExit_Click()
{
    close();
}

void FrmMain::picHole_Click(int index)
{
    m_game.shootHole(index);
}

void FrmMain::fraField_MouseDown(QPointF position)
{
    m_game.shootField(Twips::fromPixels(position));
}

void FrmMain::showHole(int index)
{
    const Hole &hole = m_game.hole(index);
    PictureBox *box = picHole.at(index);
    if (hole.shown() && hole.hit) {
        box->setPicture(ui->picHit->image());
        box->setAccessibleDescription(tr("Fireball"));
    } else if (hole.shown()) {
        box->setPicture(hole.picture, hole.size);
        box->setAccessibleDescription(tr("Target"));
    } else {
        // A hidden hole keeps no picture.
        box->setPicture(QImage());
    }
    box->setVisible(hole.shown());
}

void FrmMain::showMarker()
{
    const QPointF topLeft = m_game.markerPosition();
    ui->picExplo->move(Twips::toPixels(topLeft.x()), Twips::toPixels(topLeft.y()));
    ui->picExplo->setVisible(m_game.isMarkerShown());
}

void FrmMain::showScore()
{
    // Only a caption that changes is written: every text written repaints its label.
    bool changed = false;
    QString news;
    const auto show = [&](QLabel *label, const QLabel *caption, const QString &text) {
        if (label->text() == text)
            return;
        label->setText(text);
        changed = true;
        if (!text.isEmpty())
            news = caption->text() + u' ' + text;
    };
    show(ui->lblOut, ui->Label1, countText(m_game.hits()));
    show(ui->lblMiss, ui->Label2, countText(m_game.misses()));
    const std::optional<int> precision = m_game.precision();
    show(ui->lblTotal, ui->Label3, precision ? QString::number(*precision) + u'%' : QString());

    // A screen reader hears each new count with its caption ("Hits: 3"); the precision when a
    // wave ends, the one change of the score while no wave runs, even where it reads as before;
    // and that the score was cleared.
    if (precision && !m_game.isRunning())
        news = tr("Wave over.") + u' ' + ui->Label3->text() + u' ' + ui->lblTotal->text();
    else if (changed && !precision && !m_game.hits() && !m_game.misses())
        news = tr("Score cleared");
    if (!news.isEmpty())
        m_announcer->announce(news);
}
