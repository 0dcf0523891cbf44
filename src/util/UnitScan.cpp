#include "util/UnitScan.h"

namespace quillan {

bool ProcessorHasWideScans()
{
#if defined(QUILLAN_WIDE_SCANS)
    // Asked before main() too (the flag below), so the processor's
    // description is read here rather than relied on being read already.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
#else
    return false;
#endif
}

bool gWideScans = ProcessorHasWideScans();

} // namespace quillan
