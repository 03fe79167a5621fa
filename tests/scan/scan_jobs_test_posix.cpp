// Linux only: the processor count against nproc, and a thread's processor affinity.
#include "scan/processor_count.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <cstdio>

namespace mirelon {
namespace {

int NprocOutput() {
    FILE* pipe = popen("nproc", "r");
    int count = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%d", &count) != 1)
        count = -1;
    if (pipe != nullptr)
        pclose(pipe);
    return count;
}

TEST(ProcessorCount, CountsWhatThisProcessMayRunOn) {
    EXPECT_EQ(UsableProcessorCount(), NprocOutput());

    cpu_set_t saved;
    ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &saved)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const int limited = UsableProcessorCount();
    sched_setaffinity(0, sizeof saved, &saved);
    EXPECT_EQ(limited, 1);
}

} // namespace
} // namespace mirelon
