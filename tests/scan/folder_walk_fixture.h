#pragma once

#include "scan/folder_walk.h"
#include "scan/path_separator.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirelon::testing {

struct RecordingEvents : IFolderWalkEvents {
    std::vector<std::string> events;
    std::string abortAt;

    bool IsExcluded(const std::string&) const override { return false; }
    void BeforeFolder(const std::string& folderPath, bool& abort) override {
        events.push_back("D " + folderPath);
        abort = folderPath == abortAt;
    }
    void FolderFailed(const std::string& folderPath, const std::string& reason) override {
        events.push_back("X " + folderPath + ": " + reason);
    }
    void FoundEntry(const std::string& fullPath, std::string_view name, const DirectoryListing&,
                    bool& abort) override {
        EXPECT_EQ(fullPath.substr(fullPath.rfind(PathSeparator()) + 1), name);
        events.push_back("F " + fullPath);
        abort = fullPath == abortAt;
    }
};

inline std::vector<std::string> Walk(const std::string& root, size_t maxOpenFolders,
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
    test::ScanTestTree tree;
};

} // namespace mirelon::testing
