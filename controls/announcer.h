#pragma once

#include <QTimer>
#include <QWidget>

// Tells a screen reader what changes in a window: each line announced is read out once, without
// moving the keyboard focus. Nothing of it is seen, and it takes no press and no focus. To
// assistive technology it is a status bar named by the last line, and each line a notification
// in it that shows once: a screen reader reads out such a notification, by its text alone, when
// it shows.
//
// A screen reader breaks off what it says when the focus leaves a window, and then names the
// window that takes it. So while its window is not the active one, the lines wait for the
// window to take the focus (a moment at most), and are heard after the window's name instead
// of cut short. A hidden window announces nothing, and shows no line again when it next opens: what
// cannot be seen is not said either.
class Announcer : public QWidget
{
    Q_OBJECT

public:
    static constexpr int focusWaitMilliseconds = 500;

    explicit Announcer(QWidget *parent);

    void announce(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void say();
    void hideLines();

    QTimer m_focusWait;
    // The lines that wait for the window to take the focus, in order.
    QStringList m_waiting;
    // The notifications, taken by turns.
    QList<QWidget *> m_lines;
    int m_next = 0;
};
