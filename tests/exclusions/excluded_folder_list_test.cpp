#include "exclusions/excluded_folder_list.h"
#include "exclusions/item_identity.h"

#include "tests/exclusions/item_paths.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

using test::AbsolutePath;
using test::ScanTestTree;
using Paths = std::vector<std::string>;

class ExcludedFolderListTest : public ::testing::Test {
protected:
    // The chain of tree items from the test tree's root (taken for a drive) down to `relative`.
    TItemChain Chain(const std::string& relative) const {
        TItemChain chain{IdentityOfPath(tree.Root())};
        std::string path = tree.Root();
        size_t start = 0;
        while (start < relative.size()) {
            const size_t slash = relative.find('/', start);
            const size_t end = slash == std::string::npos ? relative.size() : slash;
            path = ChildPath(path, relative.substr(start, end - start));
            chain.push_back(IdentityOfPath(path));
            start = end + 1;
        }
        return chain;
    }

    Paths List(const Paths& driveScanPaths = {}) const {
        return ExcludedFolderList(store, driveScanPaths);
    }

    ScanTestTree tree;
    TCheckStateStore store;
};

TEST_F(ExcludedFolderListTest, TickedFolderInsideTickedFolderListsBothOuterFirst) {
    tree.Folder("a/inner");
    tree.Folder("b");
    store.SetState(Chain(""), csMixedNormal);
    store.SetState(Chain("b"), csCheckedNormal);
    store.SetState(Chain("a/inner"), csCheckedNormal);
    store.SetState(Chain("a"), csCheckedNormal);
    EXPECT_EQ(List(), (Paths{tree.Path("a"), tree.Path("a/inner"), tree.Path("b")}));
}

TEST_F(ExcludedFolderListTest, PartlyCheckedFoldersAddNothingButTheirTickedFoldersDo) {
    tree.Folder("p/q/r");
    store.SetState(Chain("p"), csMixedNormal);
    store.SetState(Chain("p/q"), csMixedPressed);
    store.SetState(Chain("p/q/r"), csCheckedNormal);
    EXPECT_EQ(List(), (Paths{tree.Path("p/q/r")}));
}

TEST_F(ExcludedFolderListTest, OnlyCheckedItemsThatExistAreListed) {
    tree.Folder("pressed");
    tree.File("notes.txt", "x");
    store.SetState(Chain("pressed"), csCheckedPressed);
    store.SetState(Chain("gone"), csCheckedNormal);
    store.SetState(Chain("notes.txt"), csCheckedNormal);
    EXPECT_EQ(List(), (Paths{tree.Path("notes.txt")}));
}

TEST_F(ExcludedFolderListTest, DriveRootsAreListedAsTheScanWalksThem) {
    tree.Folder("sub");
    store.SetState({IdentityOfPath(tree.Root())}, csCheckedNormal);
    store.SetState(Chain("sub"), csCheckedNormal);
    const std::string top = AbsolutePath("/");
    store.SetState({IdentityOfPath(top)}, csCheckedNormal);
    EXPECT_EQ(List({top, tree.Path("")}), (Paths{top, tree.Path(""), tree.Path("sub")}));
    // The same folder when it is not a drive: without the separator, like any folder.
    EXPECT_EQ(List({top}), (Paths{top, tree.Root(), tree.Path("sub")}));
}

} // namespace
} // namespace mirelon
