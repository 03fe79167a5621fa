#include "scan/folder_walk.h"

#include "tests/scan/folder_walk_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirelon {
namespace {

using testing::FolderWalkParking;
using testing::Walk;

TEST_F(FolderWalkParking, SameEventsWhateverTheNumberOfOpenFolders) {
    const auto reference = Walk(tree.Root(), 1000);
    ASSERT_EQ(reference.size(), 1u + 3 * (2 * 4 + 1) + 12 + 3 + 1 + 40 * 2);
    for (size_t maxOpen : {0u, 1u, 2u, 3u, 7u}) {
        EXPECT_EQ(Walk(tree.Root(), maxOpen), reference) << maxOpen;
    }
}

TEST_F(FolderWalkParking, AbortInsideAParkedSubTreeStopsAtOnce) {
    const auto reference = Walk(tree.Root(), 1000);
    const std::string stopAt = tree.Path("b/y/deep/er/leaf2");
    const auto stopped = Walk(tree.Root(), 1, stopAt);
    ASSERT_FALSE(stopped.empty());
    EXPECT_EQ(stopped.back(), "F " + stopAt);
    EXPECT_EQ(std::vector<std::string>(reference.begin(),
                                       reference.begin() + static_cast<long>(stopped.size())),
              stopped);
}
} // namespace
} // namespace mirelon
