#include "scan/processor_count.h"
#include "scan/scan_jobs.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <cstdio>
#include <map>

namespace mirelon {
namespace {

using enum TStorageRotation;

int NprocOutput() {
    FILE* pipe = popen("nproc", "r");
    int count = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%d", &count) != 1)
        count = -1;
    if (pipe != nullptr)
        pclose(pipe);
    return count;
}

TEST(ScanJobs, OnePerProcessorOneOnASpinningDiskAndWhatIsAskedFor) {
    const std::map<std::string, TStorageRotation> drives = {
        {"/ssd", Solid}, {"/hdd", Rotational}, {"/net", Unknown}};
    const auto rotationOf = [&](const std::string& root) { return drives.at(root); };

    const int processors = NprocOutput();
    ASSERT_GT(processors, 0);
    EXPECT_EQ(UsableProcessorCount(), processors);
    EXPECT_EQ(ScanJobsFor(std::nullopt, {"/ssd", "/net"}, rotationOf),
              std::min(processors, kMaxScanJobs));
    EXPECT_EQ(ScanJobsFor(std::nullopt, {"/ssd", "/hdd"}, rotationOf), 1);
    EXPECT_EQ(ScanJobsFor(std::nullopt, {}, rotationOf), std::min(processors, kMaxScanJobs));
    // Asked for, it is used, also on a spinning disk, within its limits.
    EXPECT_EQ(ScanJobsFor(4, {"/hdd"}, rotationOf), 4);
    EXPECT_EQ(ScanJobsFor(0, {"/ssd"}, rotationOf), 1);
    EXPECT_EQ(ScanJobsFor(100000, {"/ssd"}, rotationOf), kMaxScanJobs);
}

TEST(ScanJobs, AProcessLimitedToOneProcessorUsesOne) {
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
