#include "frmabout.h"

#include "ui_frmabout.h"

FrmAbout::FrmAbout(QWidget *parent)
    : FixedWindow(parent, Role::Dialog), ui(std::make_unique<Ui::frmAbout>())
{
    ui->setupUi(this);
    fixGeometry();
    // OK is neither the default nor the cancel button: Enter and Space press it only while it
    // has the focus, Esc does nothing, and Alt+O presses it from anywhere in the window.
    ui->Picture1->setFocus();
    connect(ui->cmdOk, &QPushButton::clicked, this, &FrmAbout::cmdOk_Click);
}

FrmAbout::~FrmAbout() = default;

void FrmAbout::cmdOk_Click()
{
    close();
}
