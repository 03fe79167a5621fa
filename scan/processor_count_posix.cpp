#include "scan/processor_count.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>

namespace mirelon {

int UsableProcessorCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(CPU_COUNT(&set), 1);
    return static_cast<int>(std::max(sysconf(_SC_NPROCESSORS_ONLN), 1L));
}

} // namespace mirelon
