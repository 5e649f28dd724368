#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTimer>

// Holds back the timeouts of the program's timers of the given names for as long as it lives
// (and is not told otherwise): they start, run and stop as the program has them, with their
// intervals, but never fire by themselves, so that a test or a benchmark that delivers their
// ticks is never overtaken by a real one, however slow the machine.
class HeldTimers : public QObject
{
public:
    explicit HeldTimers(QStringList names) : m_names(std::move(names))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    void setHeld(bool held) { m_held = held; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return m_held && event->type() == QEvent::Timer && qobject_cast<QTimer *>(watched)
            && m_names.contains(watched->objectName());
    }

private:
    QStringList m_names;
    bool m_held = true;
};
