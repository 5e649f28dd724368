#pragma once

#include <QWidget>

// A top-level window with a fixed single frame: a title bar with a close box only, no minimise
// or maximise box, and the size its definition gives it, which the player cannot change. It
// first shows in the middle of the screen. Assistive technology knows it as a window, or as a
// dialog, which a screen reader reads out when it opens: its title and its texts.
class FixedWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Role { Window, Dialog };

    explicit FixedWindow(QWidget *parent = nullptr, Role role = Role::Window);

    Role role() const { return m_role; }

protected:
    // Fixes the window at its present size and centres it; call once the definition is built.
    void fixGeometry();

private:
    Role m_role;
};
