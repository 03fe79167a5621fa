#include "settings/rs_exception.h"
#include "settings/rs_storage.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace mirelon {
namespace {

TEST(Storage, NamesIgnoreAsciiLetterCaseOnly) {
    TrsStorage storage;
    storage.SetRootSection("frmMain.PropSaver");
    ASSERT_GE(storage.FindKey("seMonths.Value", true), 0);
    storage.Key().WriteInteger(7);
    EXPECT_TRUE(storage.KeyExists("SEMONTHS.VALUE"));
    ASSERT_GE(storage.FindKey("SEMONTHS.VALUE", false), 0);
    EXPECT_EQ(storage.Key().AsInteger(), 7);
    EXPECT_EQ(storage.Key().Name(), "seMonths.Value");

    storage.FindKey("\xC3\xA9t\xC3\xA9", true);
    EXPECT_FALSE(storage.KeyExists("\xC3\x89T\xC3\x89"));
}

TEST(Storage, MissingKeyIsNotMadeWithoutCreate) {
    TrsStorage storage;
    storage.SetRootSection("s");
    storage.FindKey("a", true);
    EXPECT_EQ(storage.FindKey("b", false), -1);
    EXPECT_FALSE(storage.Key().Assigned());
    EXPECT_THROW(storage.Key().AsInteger(), TrsException);
    EXPECT_EQ(storage.KeyCount(), 1u);
    // A path through a missing section makes nothing either.
    EXPECT_EQ(storage.FindKey("missing\\a", false), -1);
    EXPECT_EQ(storage.SectionCount(), 1u);
}

TEST(Storage, NewKeyStartsEmptyAndWritesReplaceTheType) {
    TrsStorage storage;
    storage.FindKey("k", true);
    EXPECT_EQ(storage.Key().Type(), TrsValueType::Empty);
    storage.Key().WriteString("12");
    EXPECT_EQ(storage.Key().AsInteger(), 12);
    storage.Key().WriteBoolean(true);
    EXPECT_EQ(storage.Key().Type(), TrsValueType::Boolean);
    EXPECT_EQ(storage.Key().AsString(), "True");
}

TEST(Storage, KeyNamesCarrySectionPaths) {
    TrsStorage storage;
    storage.SetRootSection("a");
    storage.FindKey("b\\k", true);
    storage.Key().WriteInteger(1);
    storage.FindKey("/top/k", true);
    storage.Key().WriteInteger(2);

    EXPECT_EQ(storage.Key().FullPath(), "\\top\\k");
    storage.SetRootSection("a/b");
    ASSERT_GE(storage.FindKey("k", false), 0);
    EXPECT_EQ(storage.Key().AsInteger(), 1);
    EXPECT_EQ(storage.Key().FullPath(), "\\a\\b\\k");
    storage.SetRootSection("");
    EXPECT_TRUE(storage.KeyExists("TOP\\K"));
    EXPECT_TRUE(storage.KeyExists("\\a\\B\\k"));
}

TEST(Storage, TablesStaySortedByOwnerThenName) {
    TrsStorage storage;
    for (const char* path : {"b", "A", "c\\z", "c\\Y", "a\\x"})
        storage.SetRootSection(path);
    ASSERT_EQ(storage.SectionCount(), 6u);
    // Ids follow creation; the table orders by parent id, then name.
    const char* expected[] = {"A", "b", "c", "x", "Y", "z"};
    for (size_t i = 0; i < storage.SectionCount(); ++i)
        EXPECT_EQ(storage.SectionAt(i).name, expected[i]) << i;
    EXPECT_EQ(storage.SectionAt(0).id, 2);
    EXPECT_EQ(storage.SectionFullName(storage.SectionAt(4).id), "c\\Y");

    storage.SetRootSection("b");
    for (const char* name : {"m", "B", "a", "Z", "_"})
        storage.FindKey(name, true);
    std::vector<std::string> names;
    const auto [first, last] = storage.KeyRange(storage.SectionAt(1).id);
    for (size_t i = first; i < last; ++i)
        names.push_back(storage.KeyAt(i).name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "B", "m", "Z", "_"}));
}

TEST(Storage, DeleteKeyForgetsTheCurrentKeyOnlyWhenItIsThatKey) {
    TrsStorage storage;
    storage.FindKey("gone", true);
    storage.FindKey("kept", true);
    storage.Key().WriteInteger(3);
    EXPECT_TRUE(storage.DeleteKey("GONE"));
    EXPECT_FALSE(storage.DeleteKey("gone"));
    EXPECT_EQ(storage.Key().AsInteger(), 3);
    EXPECT_TRUE(storage.DeleteKey("kept"));
    EXPECT_FALSE(storage.Key().Assigned());
    EXPECT_EQ(storage.KeyCount(), 0u);
}

class RecordingData : public TrsStorageData {
public:
    int loads = 0;
    int saves = 0;
    bool failSave = false;

    void Load(TrsStorage& storage) override {
        ++loads;
        storage.SetRootSection("loaded");
        storage.FindKey("k", true);
    }
    void Save(const TrsStorage&) override {
        ++saves;
        if (failSave)
            throw std::runtime_error("disk full");
    }
};

TEST(Storage, ActivationReloadsAndDeactivationFlushes) {
    TrsStorage storage;
    auto owned = std::make_unique<RecordingData>();
    RecordingData& data = *owned;
    storage.SetStorageData(std::move(owned));
    storage.SetRootSection("stale");
    storage.FindKey("x", true);

    storage.SetActive(true);
    EXPECT_EQ(data.loads, 1);
    EXPECT_EQ(storage.RootSection(), "");
    EXPECT_EQ(storage.KeyCount(), 1u);
    EXPECT_TRUE(storage.KeyExists("loaded\\k"));

    storage.SetActive(false);
    EXPECT_EQ(data.saves, 1);
    storage.SetOptions(0);
    storage.SetActive(true);
    storage.SetActive(false);
    EXPECT_EQ(data.saves, 1);
}

TEST(Storage, DestructorReportsAFailedFlushOnStandardError) {
    testing::internal::CaptureStderr();
    {
        TrsStorage storage;
        auto data = std::make_unique<RecordingData>();
        data->failSave = true;
        storage.SetStorageData(std::move(data));
        storage.SetActive(true);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "disk full\n");
}

} // namespace
} // namespace mirelon
