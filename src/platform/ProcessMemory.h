#pragma once

#include <QtGlobal>

// The memory of this process as the kernel counts it (Linux; 0 elsewhere).
namespace ProcessMemory {

// Resident memory now, in bytes.
qint64 residentBytes();
// Anonymous resident memory now (the heap and other private mappings).
qint64 residentAnonymousBytes();
// The most resident memory since the last resetPeak() (or the start).
qint64 peakResidentBytes();
void resetPeak();

} // namespace ProcessMemory
