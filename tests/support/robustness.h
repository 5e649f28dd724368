#pragma once

#include <QByteArray>
#include <QFile>
#include <QTimer>

#include <chrono>

// Keeps a timer from ticking on its own for as long as a test runs: the test calls its handler.
inline void holdTimer(QTimer *timer)
{
    timer->setInterval(std::chrono::hours(1));
}

// A memory figure of the process from /proc/self/status in bytes ("VmRSS" resident now, "VmHWM"
// its peak), or -1 where the system does not report it.
inline qint64 processMemory(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

// Sets the peak (VmHWM) back to the resident memory of now; false where that is not allowed.
inline bool resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

inline QString mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MiB");
}
