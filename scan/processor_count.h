#pragma once

namespace mirelon {

// The processors this process may run on (its affinity, so a container's or taskset's limit
// counts), at least 1.
int UsableProcessorCount();

} // namespace mirelon
