#include "frmstart.h"

#include "ui_frmstart.h"

#include "numerictext.h"

#include <optional>

namespace {
constexpr double startingNumber = 5;
constexpr double headingChangesAt = 3;
} // namespace

FrmStart::FrmStart(QWidget *parent) : FixedWindow(parent), ui(std::make_unique<Ui::frmStart>())
{
    ui->setupUi(this);
    fixGeometry();

    tmrStart.setObjectName(QStringLiteral("tmrStart"));
    tmrStart.setTimerType(Qt::PreciseTimer);
    tmrStart.setInterval(tickMilliseconds);
    connect(&tmrStart, &QTimer::timeout, this, &FrmStart::tmrStart_Timer);
    // The timer runs from the window's creation for as long as it exists.
    tmrStart.start();
}

FrmStart::~FrmStart() = default;

void FrmStart::countDownFromFive()
{
    ui->Label2->setValue(NumericText::plain(startingNumber));
    show();
    raise();
    activateWindow();
}

void FrmStart::tmrStart_Timer()
{
    // The number lives in the caption, and the caption only ever holds what this window wrote
    // there, so the strict reading always finds a number.
    const auto shown = [this] {
        return NumericText::parseStrict(ui->Label2->text());
    };
    const std::optional<double> before = shown();
    if (!before)
        return;
    ui->Label2->setValue(NumericText::plain(*before - 1));
    if (shown() == headingChangesAt)
        ui->Label1->setText(QStringLiteral("Starting in..."));
    if (shown() == 0.0) {
        hide();
        emit reachedZero();
    }
}
