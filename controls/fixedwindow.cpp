#include "fixedwindow.h"

#include "windowframe.h"

FixedWindow::FixedWindow(QWidget *parent)
    : QWidget(parent,
              Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                  | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
}

void FixedWindow::fixGeometry()
{
    setFixedSize(size());
    centreOnScreen(*this);
}
