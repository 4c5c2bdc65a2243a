// bench/gui/ProcessTree.h -- memory of a process and the processes it started
#pragma once

#include <sys/types.h>

namespace stellik::bench {

// The sum of the peak resident sizes (VmHWM) of root and all its descendants, in kB.
long long PeakMemoryKb(pid_t root);

} // namespace stellik::bench
