#include "scan/processor_count.h"

#include <windows.h>

#include <algorithm>

namespace mirelon {

int UsableProcessorCount() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
        int count = 0;
        for (; process != 0; process &= process - 1)
            ++count;
        // A mask covers one processor group; beyond 64 processors, ask for all of them.
        if (count < 64)
            return count;
    }
    return std::max(static_cast<int>(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)), 1);
}

} // namespace mirelon
