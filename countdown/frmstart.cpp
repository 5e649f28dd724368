#include "frmstart.h"

#include "ui_frmstart.h"

#include "announcer.h"
#include "systemcolours.h"

namespace {
constexpr int headingChangesAt = 3;
} // namespace

FrmStart::FrmStart(QWidget *parent) : FixedWindow(parent), ui(std::make_unique<Ui::frmStart>())
{
    ui->setupUi(this);
    m_announcer = new Announcer(this);
    fixGeometry();
    // No icon of its own, and not its owner's, which a window would take by default.
    setWindowIcon(QIcon());
    showHeadingColour();

    tmrStart.setObjectName(QStringLiteral("tmrStart"));
    tmrStart.setTimerType(Qt::PreciseTimer);
    tmrStart.setInterval(tickMilliseconds);
    connect(&tmrStart, &QTimer::timeout, this, &FrmStart::tmrStart_Timer);
    // The timer runs from the window's creation for as long as it exists.
    tmrStart.start();
}

FrmStart::~FrmStart() = default;

void FrmStart::changeEvent(QEvent *event)
{
    FixedWindow::changeEvent(event);
    // The desktop's theme changed while the window is open. (Building the window gives it its
    // colour before the heading is there.)
    if (event->type() == QEvent::PaletteChange && ui->Label1)
        showHeadingColour();
}

void FrmStart::showHeadingColour()
{
    // The heading takes the desktop's text colour, on the window's own fixed light colour.
    QPalette heading;
    heading.setColor(
        QPalette::WindowText,
        readableOn(palette().color(QPalette::Window), palette().color(QPalette::WindowText)));
    ui->Label1->setPalette(heading);
}

void FrmStart::setNumber(int number)
{
    m_number = number;
    ui->Label2->setText(QString::number(number));
}

void FrmStart::countDownFromFive()
{
    setNumber(startingNumber);
    show();
    raise();
    activateWindow();
    announceNumber(true);
}

void FrmStart::tmrStart_Timer()
{
    setNumber(m_number - 1);
    const bool headingSet = m_number == headingChangesAt;
    if (headingSet)
        ui->Label1->setText(tr("Starting in..."));
    if (m_number == 0) {
        hide();
        emit reachedZero();
    }
    // Said only while the window shows it: not 0, nor the numbers that fall on unseen.
    announceNumber(headingSet);
}

void FrmStart::announceNumber(bool withHeading)
{
    m_announcer->announce(withHeading ? ui->Label1->text() + u' ' + ui->Label2->text()
                                      : ui->Label2->text());
}
