#include "query/column_order.h"
#include "query/result_row_store.h"
#include "query/shade_duplicate_groups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirelon {
namespace {

ResultRow Row(const std::string& path, const std::string& size = "0",
              const std::string& checkSum = "", const std::string& accessed = "") {
    ResultRow row;
    row[0] = path;
    row[kFileSizeColumn] = size;
    row[kCheckSumColumn] = checkSum;
    row[kDateAccessedColumn] = accessed;
    return row;
}

std::vector<std::string> Column(const TResultRowStore& store, std::size_t column) {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < store.RowCount(); ++row) {
        texts.emplace_back(store.Text(row, column));
    }
    return texts;
}

TEST(ResultRowStoreTest, KeepsEveryCellIncludingEmptyAndLongOnes) {
    TResultRowStore store;
    ResultRow full;
    for (std::size_t column = 0; column < kGridColumnCount; ++column) {
        full[column] = "cell" + std::to_string(column);
    }
    full[8] = std::string(3 << 20, 'm'); // larger than an arena block
    store.AppendRow(full);
    store.AppendRow(ResultRow{});
    store.AppendRow(full);
    ASSERT_EQ(store.RowCount(), 3u);
    for (std::size_t column = 0; column < kGridColumnCount; ++column) {
        EXPECT_EQ(store.Text(0, column), full[column]);
        EXPECT_EQ(store.Text(1, column), "");
        EXPECT_EQ(store.Text(2, column), full[column]);
    }
    store.Clear();
    EXPECT_EQ(store.RowCount(), 0u);
    EXPECT_EQ(store.ReservedBytes(), 0u);
}

TEST(ResultRowStoreTest, SortsFileSizeAsNumbers) {
    TResultRowStore store;
    for (const char* size : {"100", "9", "5000000000", "20", "x"}) {
        store.AppendRow(Row(size, size));
    }
    store.SortByColumn(kFileSizeColumn, true);
    EXPECT_EQ(Column(store, kFileSizeColumn),
              (std::vector<std::string>{"x", "9", "20", "100", "5000000000"}));
    store.SortByColumn(kFileSizeColumn, false);
    EXPECT_EQ(Column(store, kFileSizeColumn),
              (std::vector<std::string>{"5000000000", "100", "20", "9", "x"}));
}

TEST(ResultRowStoreTest, SortsDatesAsDates) {
    TResultRowStore store;
    for (const char* date :
         {"2015-03-15 10:30:00", "2015-03-15", "2009-12-31 23:59:59", "2015-03-15 00:00:01", ""}) {
        store.AppendRow(Row(date, "0", "", date));
    }
    store.SortByColumn(kDateAccessedColumn, true);
    EXPECT_EQ(Column(store, kDateAccessedColumn),
              (std::vector<std::string>{"", "2009-12-31 23:59:59", "2015-03-15",
                                        "2015-03-15 00:00:01", "2015-03-15 10:30:00"}));
}

TEST(ResultRowStoreTest, TextSortIgnoresCaseKeepsEqualTextsTogetherAndIsStable) {
    TResultRowStore store;
    store.AppendRow(Row("1", "0", "b"));
    store.AppendRow(Row("2", "0", "A"));
    store.AppendRow(Row("3", "0", "a"));
    store.AppendRow(Row("4", "0", "B"));
    store.AppendRow(Row("5", "0", "a"));
    const std::vector<std::uint32_t> order = store.SortByColumn(kCheckSumColumn, true);
    EXPECT_EQ(Column(store, kCheckSumColumn), (std::vector<std::string>{"A", "a", "a", "B", "b"}));
    EXPECT_EQ(Column(store, 0), (std::vector<std::string>{"2", "3", "5", "4", "1"}));
    EXPECT_EQ(order, (std::vector<std::uint32_t>{1, 2, 4, 3, 0}));
}

TEST(ResultRowStoreTest, ColoursMoveWithTheirRows) {
    TResultRowStore store;
    store.AppendRow(Row("b"));
    store.AppendRow(Row("a"));
    store.SetColour(0, BandColour::Peach);
    store.SortByColumn(0, true);
    EXPECT_EQ(store.Colour(0), BandColour::Default);
    EXPECT_EQ(store.Colour(1), BandColour::Peach);
}

TEST(ColumnOrderTest, DateKeysRejectMalformedTexts) {
    EXPECT_EQ(DateSortKey("2016-02-29 10:30:00"), 20160229103000);
    EXPECT_EQ(DateSortKey("2016-02-29"), 20160229000000);
    EXPECT_EQ(DateSortKey("2016-13-01"), DateSortKey(""));
    EXPECT_EQ(DateSortKey("2016-02-29 25:00:00"), DateSortKey(""));
    EXPECT_EQ(DateSortKey("2016/02/29"), DateSortKey(""));
    EXPECT_LT(DateSortKey(""), DateSortKey("0001-01-01"));
}

TEST(ColumnOrderTest, PrefixOrderAgreesWithFullComparison) {
    const std::vector<std::string> texts{
        "",          "a", "A",    "ab", "abcdefgh", "ABCDEFGH", "abcdefghi", "abcdefgh\x01",
        "abcdefgH0", "b", "\xff", "Z",  "[",        "_"};
    for (const std::string& left : texts) {
        for (const std::string& right : texts) {
            const std::uint64_t a = AlphabeticPrefix(left);
            const std::uint64_t b = AlphabeticPrefix(right);
            if (a != b) {
                EXPECT_EQ(a < b, CompareAlphabetic(left, right) < 0) << left << " / " << right;
            }
        }
    }
}

std::vector<BandColour> ShadesFor(const std::vector<std::string>& checkSums) {
    TResultRowStore store;
    for (const std::string& checkSum : checkSums) {
        store.AppendRow(Row("p", "0", checkSum));
    }
    ShadeDuplicateGroups(store);
    std::vector<BandColour> shades;
    for (std::size_t row = 0; row < store.RowCount(); ++row) {
        shades.push_back(store.Colour(row));
    }
    return shades;
}

TEST(ShadeDuplicateGroupsTest, AlternatesPerGroupStartingWithPeach) {
    constexpr BandColour P = BandColour::Peach;
    constexpr BandColour W = BandColour::White;
    EXPECT_EQ(ShadesFor({"A", "A", "B", "B", "B", "C", "C"}),
              (std::vector<BandColour>{P, P, W, W, W, P, P}));
    EXPECT_EQ(ShadesFor({"x"}), (std::vector<BandColour>{P}));
    EXPECT_TRUE(ShadesFor({}).empty());
}

TEST(ShadeDuplicateGroupsTest, ComparesCheckSumsCaseSensitively) {
    constexpr BandColour P = BandColour::Peach;
    constexpr BandColour W = BandColour::White;
    EXPECT_EQ(ShadesFor({"ab", "AB", "AB"}), (std::vector<BandColour>{P, W, W}));
}

} // namespace
} // namespace mirelon
