#include "exclusions/check_state_store.h"
#include "exclusions/item_identity.h"
#include "tests/exclusions/item_paths.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

using test::AbsolutePath;
using test::Id;

std::vector<std::string> IdentitiesInOrder(const TCheckStateStore& store) {
    std::vector<std::string> identities;
    for (const TStoredItem& item : store.ItemsInOrder()) {
        identities.push_back(item.Identity);
    }
    return identities;
}

TEST(ItemIdentityTest, PathsAndIdentitiesConvertBothWays) {
    const std::string srv = AbsolutePath("/srv");
    EXPECT_EQ(IdentityOfPath(srv), srv + std::string("\0\0", 2));
    EXPECT_EQ(PathOfIdentity(Id("/srv/a b")), AbsolutePath("/srv/a b"));
    EXPECT_EQ(PathOfIdentity(Id("/")), AbsolutePath("/"));
    // The top item, and bytes that name no absolute path, are not file-system items.
    EXPECT_FALSE(PathOfIdentity(kRootIdentity));
    EXPECT_FALSE(PathOfIdentity(srv));
    EXPECT_FALSE(PathOfIdentity(IdentityOfPath("srv")));
    EXPECT_FALSE(PathOfIdentity(Id("/srv/")));
    EXPECT_FALSE(PathOfIdentity(AbsolutePath("/a") + std::string("\0b\0\0", 4)));
    EXPECT_EQ(ChildPath(AbsolutePath("/"), "etc"), AbsolutePath("/etc"));
    EXPECT_EQ(ChildPath(AbsolutePath("/etc"), "ssh"), AbsolutePath("/etc/ssh"));
    // A folder's item drops the trailing separator, except a root's.
    EXPECT_EQ(ItemPathOfFolder(AbsolutePath("/mnt/data/")), AbsolutePath("/mnt/data"));
    EXPECT_EQ(ItemPathOfFolder(AbsolutePath("/")), AbsolutePath("/"));
    EXPECT_EQ(PathWithSeparator(AbsolutePath("/mnt/data")), AbsolutePath("/mnt/data/"));
    EXPECT_EQ(PathWithSeparator(AbsolutePath("/")), AbsolutePath("/"));
}

TEST(ItemIdentityTest, SiblingOrderIgnoresLetterCaseThenBytes) {
    EXPECT_TRUE(ItemOrderLess("apple", "Banana"));
    EXPECT_TRUE(ItemOrderLess("Apple", "apple"));
    EXPECT_FALSE(ItemOrderLess("apple", "Apple"));
    EXPECT_TRUE(ItemOrderLess("z", "\xc3\xa9")); // bytes above 0x7f sort after ASCII
}

TEST(CheckStateStoreTest, StoringCreatesMissingNodesAboveWithoutAState) {
    TCheckStateStore store;
    store.SetState({Id("/d"), Id("/d/a"), Id("/d/a/b")}, csCheckedNormal);
    EXPECT_EQ(store.StateOf({Id("/d"), Id("/d/a"), Id("/d/a/b")}), csCheckedNormal);
    EXPECT_FALSE(store.StateOf({Id("/d"), Id("/d/a")}));
    EXPECT_FALSE(store.StateOf({Id("/d")}));
    const TCheckStateNode root = store.Snapshot();
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0].StorageFlags, 0);
    const TCheckStateNode& leaf = root.Children[0].Children[0].Children[0];
    EXPECT_EQ(leaf.StorageFlags, kStoresCheckState);
    EXPECT_EQ(leaf.CheckBoxKind, kTriStateCheckBox);
}

TEST(CheckStateStoreTest, UncheckingRemovesTheNodeWithEverythingBelow) {
    TCheckStateStore store;
    store.SetState({Id("/d")}, csMixedNormal);
    store.SetState({Id("/d"), Id("/d/a")}, csCheckedNormal);
    store.SetState({Id("/d"), Id("/d/a"), Id("/d/a/b")}, csCheckedNormal);
    store.SetState({Id("/d"), Id("/d/c")}, csCheckedNormal);

    store.SetState({Id("/d"), Id("/d/a")}, csUncheckedNormal);
    EXPECT_EQ(IdentitiesInOrder(store),
              (std::vector<std::string>{std::string(kRootIdentity), Id("/d"), Id("/d/c")}));

    store.RemoveBelow({Id("/d")});
    EXPECT_EQ(store.StateOf({Id("/d")}), csMixedNormal);
    EXPECT_FALSE(store.StateOf({Id("/d"), Id("/d/c")}));

    store.SetState({}, csCheckedNormal);
    store.Remove({});
    EXPECT_EQ(IdentitiesInOrder(store), (std::vector<std::string>{std::string(kRootIdentity)}));
    EXPECT_FALSE(store.StateOf({}));
}

TEST(CheckStateStoreTest, SiblingsKeepTheFolderOrderWhateverOrderTheyWereTicked) {
    TCheckStateStore store;
    for (const char* path : {"/d/c", "/d/A", "/d/b"}) {
        store.SetState({Id("/d"), Id(path)}, csCheckedNormal);
    }
    store.SetState({Id("/d"), Id("/d/a/x")}, csCheckedNormal);
    EXPECT_EQ(IdentitiesInOrder(store),
              (std::vector<std::string>{std::string(kRootIdentity), Id("/d"), Id("/d/A"),
                                        Id("/d/a/x"), Id("/d/b"), Id("/d/c")}));
}

} // namespace
} // namespace mirelon
