#pragma once

#include <QMargins>
#include <QWidget>

// A top-level window with a fixed single frame: a title bar with a close box only, no minimise
// or maximise box, and the size its definition gives it, which the player cannot change. It
// first shows in the middle of the screen. Assistive technology knows it as a window, or as a
// dialog, which a screen reader reads out when it opens: its title and its texts.
//
// Where the window system leaves frames to the program (Wayland), the window draws that frame
// itself around its client area, instead of the frame Qt would draw, which has minimise and
// maximise boxes whatever the window is and leaves too little room for the caption: a one-pixel
// line, and a title bar with the icon, the whole caption from the left, as the definition spells
// it, and the close box. A press on the title bar moves the window, a click on the close box
// closes it.
class FixedWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Role { Window, Dialog };

    explicit FixedWindow(QWidget *parent = nullptr, Role role = Role::Window);

    Role role() const { return m_role; }

protected:
    // Fixes the window at its present size and centres it; call once the definition is built.
    // A frame of the window's own then goes around the controls, which keep their places in the
    // client area.
    void fixGeometry();

    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRect titleBar() const;
    QRect closeBox() const;

    const Role m_role;
    // The frame's widths around the client area; none where the window system draws the frame.
    const QMargins m_frame;
    bool m_closePressed = false;
};
