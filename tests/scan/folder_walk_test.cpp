#include "scan/folder_walk.h"

#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using test::ScanTestTree;

struct RecordingEvents : IFolderWalkEvents {
    std::vector<std::string> events;
    std::string abortAt;

    bool IsExcluded(const std::string&) const override { return false; }
    void BeforeFolder(const std::string& folderPath, bool& abort) override {
        events.push_back("D " + folderPath);
        abort = folderPath == abortAt;
    }
    void FoundEntry(const std::string& fullPath, std::string_view name, bool& abort) override {
        EXPECT_EQ(fullPath.substr(fullPath.rfind('/') + 1), name);
        events.push_back("F " + fullPath);
        abort = fullPath == abortAt;
    }
};

std::vector<std::string> Walk(const std::string& root, size_t maxOpenFolders,
                              const std::string& abortAt = "") {
    FolderWalkOptions options;
    options.maxOpenFolders = maxOpenFolders;
    RecordingEvents events;
    events.abortAt = abortAt;
    bool abort = false;
    WalkFolderTree(root, options, events, abort);
    return events.events;
}

// Folders read into memory and reopened on the way back must give the very same walk.
class FolderWalkParking : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* branch : {"a", "b", "c"}) {
            for (const char* twig : {"x", "y"}) {
                const std::string base = std::string(branch) + "/" + twig;
                tree.File(base + "/leaf1");
                tree.File(base + "/deep/er/leaf2");
                tree.File(std::string(branch) + "/file_" + twig);
            }
            tree.File(std::string("top_") + branch);
        }
        tree.DeepChain("chain", "level", 40);
    }
    ScanTestTree tree;
};

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
