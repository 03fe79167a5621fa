#include "exclusions/check_state_file.h"
#include "exclusions/item_identity.h"
#include "settings/rs_exception.h"

#include "tests/exclusions/item_paths.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace mirelon {
namespace {

using test::AbsolutePath;
using test::Id;
using test::IdentityRecord;
using test::ScanTestTree;

const TItemExists kEverythingExists = [](std::string_view) { return true; };

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

// The fields after the children of a node that stores nothing but its check state.
std::string Tail(int flags, int state, int kind) {
    return Bytes({flags, state, kind, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int CheckedCount(const TCheckStateNode& node) {
    int count = node.CheckState == csCheckedNormal ? 1 : 0;
    for (const TCheckStateNode& child : node.Children) {
        count += CheckedCount(child);
    }
    return count;
}

// A partly ticked folder /d with two ticked folders inside, the first with a ticked sub-folder.
TCheckStateNode SampleTree(const std::string& d = "/d") {
    TCheckStateStore store;
    store.SetState({Id(d)}, csMixedNormal);
    store.SetState({Id(d), Id(d + "/a")}, csCheckedNormal);
    store.SetState({Id(d), Id(d + "/a"), Id(d + "/a/x")}, csCheckedNormal);
    store.SetState({Id(d), Id(d + "/b")}, csCheckedNormal);
    return store.Snapshot();
}

void SaveSample(const std::string& file, const std::string& d = "/d") {
    TCheckStateStore store;
    store.Assign(SampleTree(d));
    SaveCheckStateFile(file, store);
}

TEST(CheckStateFileTest, KnownTicksGiveTheExpectedBytes) {
    TCheckStateStore store;
    store.SetState({Id("/d")}, csMixedNormal);
    store.SetState({Id("/d"), Id("/d/a")}, csCheckedNormal);
    const std::string leaf = IdentityRecord("/d/a") + Bytes({0}) + Tail(1, 2, 1);
    const std::string folder = IdentityRecord("/d") + Bytes({1, 1, 0, 0, 0}) + leaf + Tail(1, 4, 1);
    const std::string root = Bytes({2, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}) + folder + Tail(0, 0, 0);
    EXPECT_EQ(EncodeCheckStateTree(store.Snapshot()), root);
    // Nothing ticked: the root still has its (empty) list of children.
    EXPECT_EQ(EncodeCheckStateTree(TCheckStateStore().Snapshot()),
              Bytes({2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}) + Tail(0, 0, 0));
}

TEST(CheckStateFileTest, WrittenAndReadBackGivesTheSameNodes) {
    ScanTestTree tree;
    const std::string file = tree.Path("Scan_Exclusions.txt");
    SaveSample(file);

    TCheckStateStore reread;
    const TCheckStateLoad load = LoadCheckStateFile(file, reread, kEverythingExists);
    EXPECT_TRUE(load.Exists);
    EXPECT_TRUE(load.Complete);
    EXPECT_EQ(load.Error, "");
    EXPECT_EQ(reread.Snapshot(), SampleTree());

    // Column layouts survive as well, though this program writes none.
    TCheckStateNode root = SampleTree();
    root.Children[0].ColumnWidths = {1, 0xffff};
    root.Children[0].ColumnPositions = {7};
    root.Children[0].ColumnFlags = {1, 2, 3};
    root.Children[0].StorageFlags = kStoresCheckState | kStoresColumns;
    const TCheckStateDecoding decoding =
        DecodeCheckStateTree(EncodeCheckStateTree(root), kEverythingExists);
    EXPECT_TRUE(decoding.Complete);
    EXPECT_EQ(decoding.Root, root);
}

TEST(CheckStateFileTest, StoredFolderThatNoLongerExistsIsDroppedWithItsSubtree) {
    ScanTestTree tree;
    const std::string d = tree.Folder("d");
    tree.Folder("d/a/x");
    tree.Folder("d/b");
    const std::string file = tree.Path("Scan_Exclusions.txt");
    SaveSample(file, d);
    std::filesystem::remove_all(d + "/a");

    TCheckStateStore store;
    EXPECT_TRUE(LoadCheckStateFile(file, store, IdentityExists).Complete);
    const TCheckStateNode root = store.Snapshot();
    ASSERT_EQ(root.Children.size(), 1u);
    ASSERT_EQ(root.Children[0].Children.size(), 1u);
    EXPECT_EQ(root.Children[0].Children[0].Identity, Id(d + "/b"));
    // The file keeps the folder until the next "Ok".
    EXPECT_EQ(ReadFile(file), EncodeCheckStateTree(SampleTree(d)));
}

TEST(CheckStateFileTest, FileCutShortGivesTheTicksReadBeforeTheCut) {
    const std::string bytes = EncodeCheckStateTree(SampleTree());
    int previous = 0;
    for (size_t length = 0; length < bytes.size(); ++length) {
        const TCheckStateDecoding cut =
            DecodeCheckStateTree(std::string_view(bytes).substr(0, length), kEverythingExists);
        EXPECT_FALSE(cut.Complete) << length;
        EXPECT_LE(cut.DamageOffset, length);
        const int checked = CheckedCount(cut.Root);
        EXPECT_GE(checked, previous) << "ticks lost when the file grew to " << length;
        previous = checked;
    }
    EXPECT_EQ(previous, 3);

    // Cut inside /d/b: /d/a and /d/a/x are whole, /d keeps no state, /d/b keeps its identity.
    const size_t cutAt = bytes.find(Id("/d/b")) + Id("/d/b").size() + 1;
    const TCheckStateNode root =
        DecodeCheckStateTree(std::string_view(bytes).substr(0, cutAt), kEverythingExists).Root;
    ASSERT_EQ(root.Children.size(), 1u);
    const TCheckStateNode& d = root.Children[0];
    EXPECT_EQ(d.StorageFlags, 0);
    ASSERT_EQ(d.Children.size(), 2u);
    EXPECT_EQ(d.Children[0].CheckState, csCheckedNormal);
    EXPECT_EQ(d.Children[0].Children[0].CheckState, csCheckedNormal);
    EXPECT_EQ(d.Children[1].Identity, Id("/d/b"));
    EXPECT_EQ(d.Children[1].StorageFlags, 0);
}

TEST(CheckStateFileTest, AbsurdCountsAndLengthsEndTheReadingWithoutAllocating) {
    const std::string rootStart = Bytes({2, 0, 0, 0, 0, 0});
    const std::string huge = Bytes({0xff, 0xff, 0xff, 0x7f});
    const std::string negative = Bytes({0xff, 0xff, 0xff, 0xff});
    const std::string tick = IdentityRecord("/t") + Bytes({0}) + Tail(1, 2, 1);
    const std::string cases[] = {
        huge + "/d",                                            // identity longer than the file
        rootStart + Bytes({1}) + huge + tick,                   // more children than follow
        rootStart + Bytes({1}) + negative,                      // negative child count
        rootStart + Bytes({2}),                                 // has-children neither 0 nor 1
        rootStart + Bytes({0, 1, 2, 1}) + huge + Bytes({1, 2}), // column array beyond the file
        rootStart + Bytes({0, 1, 2, 1, 0, 0, 0, 0}) + negative,
        rootStart + Bytes({0, 1, 2, 1}) + Bytes({0, 0, 0, 0, 0, 0, 0, 0}) + huge,
    };
    for (const std::string& bytes : cases) {
        const TCheckStateDecoding decoding = DecodeCheckStateTree(bytes, kEverythingExists);
        EXPECT_FALSE(decoding.Complete);
    }
    // The one whole child before an absurd count is kept.
    const TCheckStateDecoding kept =
        DecodeCheckStateTree(rootStart + Bytes({1}) + huge + tick, kEverythingExists);
    ASSERT_EQ(kept.Root.Children.size(), 1u);
    EXPECT_EQ(kept.Root.Children[0].CheckState, csCheckedNormal);
    // A negative identity length means no identity, as the format says.
    const std::string noIdentity = negative + Bytes({1, 0, 0, 0, 0}) + Tail(0, 0, 0);
    EXPECT_TRUE(DecodeCheckStateTree(noIdentity, kEverythingExists).Complete);
}

std::string Nested(int depth) {
    std::string open, close;
    for (int level = 0; level < depth; ++level) {
        open += IdentityRecord("/n") + Bytes({1, 1, 0, 0, 0});
        close += Tail(1, 4, 1);
    }
    return Bytes({2, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}) + open + IdentityRecord("/n") + Bytes({0}) +
           Tail(1, 2, 1) + close + Tail(0, 0, 0);
}

int Depth(const TCheckStateNode& root) {
    int depth = 0;
    for (const TCheckStateNode* node = &root; !node->Children.empty(); node = &node->Children[0]) {
        ++depth;
    }
    return depth;
}

TEST(CheckStateFileTest, NestingIsReadToItsLimitAndNoFurther) {
    const TCheckStateDecoding deepest =
        DecodeCheckStateTree(Nested(kMaxCheckStateDepth - 1), kEverythingExists);
    EXPECT_TRUE(deepest.Complete);
    EXPECT_EQ(Depth(deepest.Root), kMaxCheckStateDepth);
    EXPECT_EQ(EncodeCheckStateTree(deepest.Root), Nested(kMaxCheckStateDepth - 1));

    const TCheckStateDecoding tooDeep = DecodeCheckStateTree(Nested(100000), kEverythingExists);
    EXPECT_FALSE(tooDeep.Complete);
    EXPECT_EQ(Depth(tooDeep.Root), kMaxCheckStateDepth);
}

TEST(CheckStateFileTest, ExtraObjectEndsTheReadingAfterTheNodesState) {
    const std::string child = IdentityRecord("/t") + Bytes({0, 1, 2, 1}) + std::string(12, '\0');
    const std::string bytes = Bytes({2, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}) + child +
                              Bytes({1, 3, 0, 0, 0}) + "Obj" + Tail(0, 0, 0);
    const TCheckStateDecoding decoding = DecodeCheckStateTree(bytes, kEverythingExists);
    EXPECT_FALSE(decoding.Complete);
    ASSERT_EQ(decoding.Root.Children.size(), 1u);
    EXPECT_EQ(decoding.Root.Children[0].CheckState, csCheckedNormal);
}

TEST(CheckStateFileTest, BytesThisProgramCannotHaveWrittenAreDamage) {
    const std::string root = Bytes({2, 0, 0, 0, 0, 0, 1});
    const std::string tick = IdentityRecord("/t") + Bytes({0}) + Tail(1, 2, 1);
    const auto child = [](const std::string& identity, const std::string& tail) {
        return Bytes({static_cast<int>(identity.size()), 0, 0, 0}) + identity + Bytes({0}) + tail;
    };
    const std::string rootTail = Tail(0, 0, 0);
    // A record that names an item keeps it, without the state that could not be read.
    struct Case {
        const char* what;
        std::string bytes;
        size_t damageAt;
        bool keepsItem = false;
    };
    const std::string two = root + Bytes({2, 0, 0, 0}) + tick;
    const Case cases[] = {
        {"bytes after the root's record", root + Bytes({1, 0, 0, 0}) + tick + rootTail + "x",
         root.size() + 4 + tick.size() + rootTail.size()},
        {"a relative path", two + child(std::string("t\0\0", 3), Tail(1, 2, 1)) + rootTail,
         two.size()},
        {"no closing zeros", two + child(AbsolutePath("/u"), Tail(1, 2, 1)) + rootTail, two.size()},
        {"no identity", two + child("", Tail(1, 2, 1)) + rootTail, two.size()},
        {"the top item below the top",
         two + child(std::string("\0\0", 2), Tail(1, 2, 1)) + rootTail, two.size()},
        {"an unknown storage flag", two + child(Id("/u"), Tail(5, 2, 1)) + rootTail,
         two.size() + 4 + Id("/u").size() + 1, true},
        {"check state 6", two + child(Id("/u"), Tail(1, 6, 1)) + rootTail,
         two.size() + 4 + Id("/u").size() + 1, true},
    };
    for (const Case& damaged : cases) {
        const TCheckStateDecoding decoding = DecodeCheckStateTree(damaged.bytes, kEverythingExists);
        EXPECT_FALSE(decoding.Complete) << damaged.what;
        EXPECT_EQ(decoding.DamageOffset, damaged.damageAt) << damaged.what;
        // What came before is kept, and nothing of the damaged record but its item.
        const auto& children = decoding.Root.Children;
        ASSERT_EQ(children.size(), damaged.keepsItem ? 2u : 1u) << damaged.what;
        EXPECT_EQ(children[0].Identity, Id("/t")) << damaged.what;
        EXPECT_EQ(children[0].CheckState, csCheckedNormal) << damaged.what;
        if (damaged.keepsItem) {
            EXPECT_EQ(children[1].Identity, Id("/u"));
            EXPECT_EQ(children[1].StorageFlags, 0) << damaged.what;
        }
    }

    // Whatever this program can store reads back whole: every check state, both flags.
    TCheckStateNode every;
    for (uint8_t state = csUncheckedNormal; state <= csMixedPressed; ++state) {
        TCheckStateNode& node = every.Children.emplace_back();
        node.Identity = Id("/s" + std::to_string(state));
        node.StorageFlags = kStoresCheckState | kStoresColumns;
        node.CheckState = state;
        node.CheckBoxKind = kTriStateCheckBox;
    }
    const TCheckStateDecoding whole =
        DecodeCheckStateTree(EncodeCheckStateTree(every), kEverythingExists);
    EXPECT_TRUE(whole.Complete);
    EXPECT_EQ(whole.Root.Children, every.Children);
}

TEST(CheckStateFileTest, DamagedFileIsKeptBesideWithoutReplacingAnother) {
    ScanTestTree tree;
    const std::string file = tree.Path("Scan_Exclusions.txt");
    const std::string first = "first damaged";
    WriteFile(file, first);
    const TrsRenameResult kept = KeepDamagedFile(file);
    EXPECT_EQ(kept.error, "");
    EXPECT_EQ(kept.path, file + ".damaged");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(ReadFile(kept.path), first);

    // Damaged again at a later start: the earlier copy stays as it was.
    WriteFile(file, "second damaged");
    const TrsRenameResult again = KeepDamagedFile(file);
    EXPECT_EQ(again.path, file + ".2.damaged");
    EXPECT_EQ(ReadFile(again.path), "second damaged");
    EXPECT_EQ(ReadFile(file + ".damaged"), first);

    const TrsRenameResult missing = KeepDamagedFile(tree.Path("none.txt"));
    EXPECT_EQ(missing.path, "");
    EXPECT_NE(missing.error, "");
}

TEST(CheckStateFileTest, LoadingMissingUnreadableAndDamagedFiles) {
    ScanTestTree tree;
    TCheckStateStore store;
    store.Assign(SampleTree());
    EXPECT_FALSE(LoadCheckStateFile(tree.Path("none.txt"), store, kEverythingExists).Exists);
    EXPECT_EQ(CheckedCount(store.Snapshot()), 0);

    store.Assign(SampleTree());
    const TCheckStateLoad folder = LoadCheckStateFile(tree.Folder("dir"), store, kEverythingExists);
    EXPECT_TRUE(folder.Exists);
    EXPECT_FALSE(folder.Complete);
    EXPECT_TRUE(folder.Unreadable);
    EXPECT_NE(folder.Error, "");
    EXPECT_EQ(CheckedCount(store.Snapshot()), 0);

    const std::string bytes = EncodeCheckStateTree(SampleTree());
    WriteFile(tree.Path("cut.txt"), bytes.substr(0, bytes.size() - 30));
    const TCheckStateLoad cut = LoadCheckStateFile(tree.Path("cut.txt"), store, kEverythingExists);
    EXPECT_FALSE(cut.Complete);
    EXPECT_FALSE(cut.Unreadable);
    EXPECT_EQ(cut.Error.rfind("damaged at byte ", 0), 0u) << cut.Error;
    EXPECT_EQ(CheckedCount(store.Snapshot()), 3);
}

TEST(CheckStateFileTest, SaveThatCannotCreateTheFileReportsItAndThrows) {
    ScanTestTree tree;
    const std::string target = tree.Folder("Scan_Exclusions.txt");
    try {
        SaveSample(target);
        FAIL() << "saved over a folder";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + target + "\". ", 0), 0u)
            << error.what();
    }
    // Nothing is left behind next to it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.Root()), {}), 1);
}

} // namespace
} // namespace mirelon
