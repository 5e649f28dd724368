#pragma once

#include "fixedwindow.h"

#include <memory>

namespace Ui {
class frmAbout;
}

// The About window: the game's name and version, a legal notice, a photograph and the maker's
// credit and web address. OK closes it. It knows nothing of the game.
class FrmAbout : public FixedWindow
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);
    ~FrmAbout() override;

private:
    void cmdOk_Click();

    std::unique_ptr<Ui::frmAbout> ui;
};
