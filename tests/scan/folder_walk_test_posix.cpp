// Linux only: a folder can be moved away while the walk is inside it (Windows refuses to move
// an open folder), so the way back up through ".." can fail.
#include "scan/folder_walk.h"

#include "tests/scan/folder_walk_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using test::ScanTestTree;
using testing::FolderWalkParking;
using testing::RecordingEvents;

TEST_F(FolderWalkParking, FolderMovedAwayDuringTheWalkEndsItCleanly) {
    // Every folder is parked; the one being walked is moved elsewhere, so the way back up
    // through ".." no longer leads to the parked folders.
    struct Mover : RecordingEvents {
        ScanTestTree* tree = nullptr;
        bool moved = false;
        void BeforeFolder(const std::string& folderPath, bool& abort) override {
            RecordingEvents::BeforeFolder(folderPath, abort);
            if (!moved && folderPath == tree->Path("chain/level/level/")) {
                std::filesystem::rename(tree->Path("chain/level/level"), tree->Path("elsewhere"));
                moved = true;
            }
        }
    } events;
    events.tree = &tree;
    FolderWalkOptions options;
    options.maxOpenFolders = 1;
    bool abort = false;
    WalkFolderTree(tree.Root(), options, events, abort);
    ASSERT_TRUE(events.moved);
    std::vector<std::string> sorted = events.events;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    // Files of folders read before the move are still reported by name.
    for (const char* top : {"top_a", "top_b", "top_c"}) {
        EXPECT_NE(std::find(sorted.begin(), sorted.end(), "F " + tree.Path(top)), sorted.end());
    }
}

} // namespace
} // namespace mirelon
