#pragma once
// Resident memory of this process, read from /proc, for the benchmarks that
// report a peak.
#include <cstdint>
#include <string>

namespace benchmem {

/// Bytes of one line ("VmHWM:", "VmRSS:") of this process's status.
int64_t StatusBytes(const std::string& key);

/// Returns freed memory to the system and resets the resident peak, so that
/// VmHWM afterwards measures only what follows.
void ResetPeak();

}  // namespace benchmem
