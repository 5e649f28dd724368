#include "procstatus.h"

#include <QFile>

#include <malloc.h>

namespace ProcStatus {

namespace {
// A "Name:   1234 kB" line of /proc/self/status.
qint64 statusKiB(QByteArrayView name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name) && line.size() > name.size() && line[name.size()] == ':')
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
} // namespace

qint64 residentKiB()
{
    return statusKiB("VmRSS");
}

qint64 peakResidentKiB()
{
    return statusKiB("VmHWM");
}

qint64 heapInUseBytes()
{
    return static_cast<qint64>(mallinfo2().uordblks);
}

} // namespace ProcStatus
