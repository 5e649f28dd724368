#pragma once

#include <QtGlobal>

// This process's memory, as the kernel and the allocator count it.
namespace ProcStatus {

// Resident memory now (VmRSS) and at its peak so far (VmHWM), in KiB; 0 where unknown.
qint64 residentKiB();
qint64 peakResidentKiB();

// Bytes the heap allocator has handed out and not had back.
qint64 heapInUseBytes();

} // namespace ProcStatus
