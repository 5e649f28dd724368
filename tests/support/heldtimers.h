#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTimer>

// Holds back the timeouts of the program's timers of the given names for as long as it lives
// (but those of the one timer let go): they start, run and stop as the program has them, with
// their intervals, but never fire by themselves, so that a test or a benchmark that delivers
// their ticks is never overtaken by a real one, however slow the machine.
class HeldTimers : public QObject
{
public:
    explicit HeldTimers(QStringList names) : m_names(std::move(names))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    void letGo(const QObject *timer) { m_letGo = timer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return event->type() == QEvent::Timer && watched != m_letGo
            && qobject_cast<QTimer *>(watched) && m_names.contains(watched->objectName());
    }

private:
    QStringList m_names;
    const QObject *m_letGo = nullptr;
};
