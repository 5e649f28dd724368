#pragma once

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "warnings.h"

#include <optional>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

// Keeps a timer from ticking on its own: it stays active, as the window set it, but its timer
// events are swallowed, so only the test's direct calls of its handler advance the game. A test
// that clicks (and so runs the event loop) cannot then be overtaken by a real tick.
class HeldTimer final : public QObject
{
public:
    explicit HeldTimer(QTimer *timer) : QObject(timer) { timer->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::Timer; }
};

inline void holdTimer(QTimer *timer)
{
    new HeldTimer(timer); // owned by the timer
}

// The process's memory as Linux reports it; nothing on other systems.
namespace ProcessMemory {

#ifdef Q_OS_LINUX
inline std::optional<QByteArray> procFile(const char *name)
{
    QFile file(QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Resident bytes now, from /proc/self/statm (its second field, in pages).
inline std::optional<qint64> resident()
{
    const std::optional<QByteArray> statm = procFile("/proc/self/statm");
    if (!statm)
        return std::nullopt;
    const QList<QByteArray> fields = statm->simplified().split(' ');
    bool ok = false;
    const qint64 pages = fields.size() > 1 ? fields.at(1).toLongLong(&ok) : 0;
    if (!ok)
        return std::nullopt;
    return pages * sysconf(_SC_PAGESIZE);
}

// The highest resident bytes since the last resetPeak(), from VmHWM in /proc/self/status.
inline std::optional<qint64> peakResident()
{
    const std::optional<QByteArray> status = procFile("/proc/self/status");
    if (!status)
        return std::nullopt;
    static const QRegularExpression hwm(QStringLiteral("VmHWM:\\s*(\\d+)\\s*kB"));
    const QRegularExpressionMatch match = hwm.match(QString::fromLatin1(*status));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong() * 1024;
}

// Sets the peak back to the resident bytes of now; false where the system does not allow it.
inline bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}
#else
inline std::optional<qint64> resident()
{
    return std::nullopt;
}
inline std::optional<qint64> peakResident()
{
    return std::nullopt;
}
inline bool resetPeak()
{
    return false;
}
#endif

inline QString mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MiB");
}

} // namespace ProcessMemory
