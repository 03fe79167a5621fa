#include "scan/processor_count.h"
#include "scan/scan_jobs.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace mirelon {
namespace {

using enum TStorageRotation;

TEST(ScanJobs, OnePerProcessorOneOnASpinningDiskAndWhatIsAskedFor) {
    const std::map<std::string, TStorageRotation> drives = {
        {"/ssd", Solid}, {"/hdd", Rotational}, {"/net", Unknown}};
    const auto rotationOf = [&](const std::string& root) { return drives.at(root); };
    const int processors = std::min(UsableProcessorCount(), kMaxScanJobs);
    ASSERT_GE(processors, 1);

    EXPECT_EQ(ScanJobsFor(std::nullopt, {"/ssd", "/net"}, rotationOf), processors);
    EXPECT_EQ(ScanJobsFor(std::nullopt, {"/ssd", "/hdd"}, rotationOf), 1);
    EXPECT_EQ(ScanJobsFor(std::nullopt, {}, rotationOf), processors);
    // Asked for, it is used, also on a spinning disk, within its limits.
    EXPECT_EQ(ScanJobsFor(4, {"/hdd"}, rotationOf), 4);
    EXPECT_EQ(ScanJobsFor(0, {"/ssd"}, rotationOf), 1);
    EXPECT_EQ(ScanJobsFor(100000, {"/ssd"}, rotationOf), kMaxScanJobs);
}

TEST(StorageRotation, APathThatIsNotThereIsUnknown) {
    test::TTempFolder dir;
    EXPECT_EQ(StorageRotationOf(dir / "missing/deeper"), Unknown);
    StorageRotationOf(dir.Path()); // whatever the machine's disk says, it answers
}

} // namespace
} // namespace mirelon
