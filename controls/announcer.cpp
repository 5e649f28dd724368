#include "announcer.h"

#include <QEvent>

#include <utility>

namespace {
// A screen reader comes to a notification when it can, and reads its text as it is then: a line
// keeps its own notification, renamed for another line only once this many more have come.
constexpr int notifications = 8;

void makeUnseen(QWidget &widget)
{
    widget.setAttribute(Qt::WA_TransparentForMouseEvents);
    widget.setFocusPolicy(Qt::NoFocus);
    widget.setFixedSize(0, 0);
}
} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    makeUnseen(*this);
    m_focusWait.setSingleShot(true);
    m_focusWait.setInterval(focusWaitMilliseconds);
    connect(&m_focusWait, &QTimer::timeout, this, &Announcer::say);
    window()->installEventFilter(this);
}

void Announcer::announce(const QString &text)
{
    if (!window()->isVisible())
        return;
    m_waiting << text;
    if (window()->isActiveWindow())
        say();
    else if (!m_focusWait.isActive())
        m_focusWait.start();
}

bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide) {
        // Nothing waits, and nothing shows again when the window next shows.
        m_focusWait.stop();
        m_waiting.clear();
        setAccessibleName(QString());
        hideLines();
    } else if (m_focusWait.isActive() && event->type() == QEvent::WindowActivate) {
        m_focusWait.stop();
        // After the window has told assistive technology of its activation.
        QMetaObject::invokeMethod(this, &Announcer::say, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void Announcer::say()
{
    m_focusWait.stop();
    if (m_waiting.isEmpty())
        return;
    // The status bar holds the last line, which a screen reader's review reads there.
    setAccessibleName(m_waiting.last());
    hideLines();
    for (const QString &line : std::exchange(m_waiting, {})) {
        if (m_lines.size() < notifications) {
            m_lines.append(new QWidget(this));
            makeUnseen(*m_lines.last());
        }
        QWidget *notification = m_lines.at(m_next);
        m_next = (m_next + 1) % notifications;
        notification->setAccessibleName(line);
        notification->show();
    }
}

void Announcer::hideLines()
{
    // Hidden, a notification is still read out where the screen reader has yet to come to it.
    for (QWidget *line : std::as_const(m_lines))
        line->hide();
}
