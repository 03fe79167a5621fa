// Linux only: named pipes and symbolic links, names that differ only in letter case or hold
// double quotes, and reads that leave access times alone to the nanosecond.
#include "tests/scan/facts_test_files.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/scan/scan_run_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace mirelon {
namespace {

using testing::ScanRunTest;

TEST_F(ScanRunTest, PipesAndLinksGetNoRows) {
    tree.File("notes.txt", "hello");
    tree.NamedPipe("sub/pipe");
    tree.SymbolicLink("sub/link", tree.Path("notes.txt"));
    ASSERT_EQ(Scan().error, "");
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows.count(tree.Path("notes.txt")));
    EXPECT_EQ(run->SkippedCount(), 0);
}

TEST_F(ScanRunTest, CaseTwinsAreSkippedAndQuotedNamesStoredWhole) {
    tree.File("one/Readme.txt", "1");
    tree.File("one/README.TXT", "2");
    tree.File("quote\"d \"name\".txt", "q");
    ASSERT_EQ(Scan().error, "");
    auto rows = Rows();
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows.count(tree.Path("quote\"d \"name\".txt")));
    EXPECT_EQ(rows.at(tree.Path("quote\"d \"name\".txt")).fileName, "quote\"d \"name\".txt");
    EXPECT_EQ(run->SkippedCount(), 1);
    EXPECT_NE(run->SkippedHint().find("only in letter case"), std::string::npos);
}

// Only '/' separates names here: ':' and '\' are characters of a name like any other, even at
// its end, and the extension is what follows the last dot of the whole name.
TEST_F(ScanRunTest, NamesWithColonsAndBackslashesAreStoredWhole) {
    const std::map<std::string, std::string> extensions = {
        {"a:b.txt", ".txt"},           {"ends in a colon:", ""}, {"C:", ""},
        {"back\\slash.tar.gz", ".gz"}, {"trailing\\", ""},       {"dot.in\\side", ".in\\side"}};
    for (const auto& [name, extension] : extensions) {
        tree.File("names/" + name, name);
    }
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(run->SkippedCount(), 0) << run->SkippedHint();
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), extensions.size());
    for (const auto& [name, extension] : extensions) {
        const auto row = rows.find(tree.Path("names/" + name));
        ASSERT_NE(row, rows.end()) << name;
        EXPECT_EQ(row->second.fileName, name);
        EXPECT_EQ(row->second.extension, extension) << name;
        EXPECT_EQ(row->second.size, std::to_string(name.size())) << name;
    }
}

TEST_F(ScanRunTest, AccessTimesKeepTheirNanoseconds) {
    const auto exe = testing::WritePeImage({});
    tree.File("a.exe", std::string(exe.begin(), exe.end()));
    tree.File("b.txt", std::string(100000, 'b'));
    const testing::UnixTime old{1577880000, 123456789};
    for (const char* name : {"a.exe", "b.txt"}) {
        testing::SetStoredTimes(tree.Path(name), old, testing::StoredModifiedTime(tree.Path(name)));
    }
    ASSERT_EQ(Scan().error, "");
    for (const char* name : {"a.exe", "b.txt"}) {
        EXPECT_EQ(testing::StoredAccessTime(tree.Path(name)), old) << name;
    }
}

} // namespace
} // namespace mirelon
