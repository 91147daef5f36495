#pragma once

#include <QtGlobal>

namespace bench {

// Resident memory of this process in bytes, from /proc/self/status:
// VmRSS now and VmHWM, the peak since the process started.
qint64 residentBytes();
qint64 peakResidentBytes();

// Processor time (user and system) this process has used so far, in
// seconds: less swayed than the clock by other work on the machine.
double processorSeconds();

}  // namespace bench
