#include "fixedwindow.h"

#include "windowframe.h"

FixedWindow::FixedWindow(QWidget *parent, Role role)
    : QWidget(parent,
              Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                  | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_role(role)
{
}

void FixedWindow::fixGeometry()
{
    setFixedSize(size());
    centreOnScreen(*this);
}
