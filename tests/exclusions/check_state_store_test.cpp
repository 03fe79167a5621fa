#include "exclusions/check_state_store.h"
#include "exclusions/item_identity.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

std::string Id(const std::string& path) {
    return IdentityOfPath(path);
}

std::vector<std::string> IdentitiesInOrder(const TCheckStateStore& store) {
    std::vector<std::string> identities;
    for (const TStoredItem& item : store.ItemsInOrder()) {
        identities.push_back(item.Identity);
    }
    return identities;
}

TEST(ItemIdentityTest, PathsAndIdentitiesConvertBothWays) {
    EXPECT_EQ(IdentityOfPath("/srv"), std::string("/srv\0\0", 6));
    EXPECT_EQ(PathOfIdentity(Id("/srv/a b")), "/srv/a b");
    EXPECT_EQ(PathOfIdentity(Id("/")), "/");
    // The top item, and bytes that name no absolute path, are not file-system items.
    EXPECT_FALSE(PathOfIdentity(kRootIdentity));
    EXPECT_FALSE(PathOfIdentity("/srv"));
    EXPECT_FALSE(PathOfIdentity(Id("srv")));
    EXPECT_FALSE(PathOfIdentity(Id("/srv/")));
    EXPECT_FALSE(PathOfIdentity(std::string("/a\0b\0\0", 6)));
    EXPECT_EQ(ChildPath("/", "etc"), "/etc");
    EXPECT_EQ(ChildPath("/etc", "ssh"), "/etc/ssh");
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
