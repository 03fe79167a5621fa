// Windows only: a folder the walk holds open cannot be moved away, so a walk with parked
// folders always finds its way back up.
#include "scan/folder_walk.h"

#include "base/wide_path.h"
#include "tests/scan/folder_walk_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace mirelon {
namespace {

using test::ScanTestTree;
using testing::FolderWalkParking;
using testing::RecordingEvents;
using testing::Walk;

TEST_F(FolderWalkParking, FolderBeingWalkedCannotBeMovedAway) {
    struct Mover : RecordingEvents {
        ScanTestTree* tree = nullptr;
        bool tried = false;
        bool moved = false;
        void BeforeFolder(const std::string& folderPath, bool& abort) override {
            RecordingEvents::BeforeFolder(folderPath, abort);
            if (!tried && folderPath == tree->Path("chain/level/level/")) {
                tried = true;
                moved = ::MoveFileExW(WidePath(tree->Path("chain/level/level")).c_str(),
                                      WidePath(tree->Path("elsewhere")).c_str(), 0) != FALSE;
            }
        }
    } events;
    events.tree = &tree;
    const auto reference = Walk(tree.Root(), 1000);
    FolderWalkOptions options;
    options.maxOpenFolders = 1;
    bool abort = false;
    WalkFolderTree(tree.Root(), options, events, abort);
    ASSERT_TRUE(events.tried);
    EXPECT_FALSE(events.moved);
    EXPECT_EQ(events.events, reference);
}

} // namespace
} // namespace mirelon
