#include "catalog/catalog_format.h"
#include "query/duplicate_filters.h"
#include "query/inside_folder.h"
#include "query/query_jobs.h"
#include "query/result_row_store.h"
#include "query/shade_duplicate_groups.h"
#include "scan/path_separator.h"
#include "tests/query/recording_grid_sink.h"
#include "tests/query/test_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include <random>
#include <set>

namespace mirelon {
namespace {

using Texts = std::vector<std::string>;

TEST(DuplicateFiltersTest, ExtensionListsTakeDotsCommasAndBlanksInAnyLetterCase) {
    EXPECT_EQ(ParseExtensionList(".doc,.zip,.exe,.txt"), (Texts{".doc", ".zip", ".exe", ".txt"}));
    EXPECT_EQ(ParseExtensionList(" DOC, zip  .Exe;txt,,.doc "),
              (Texts{".doc", ".zip", ".exe", ".txt"}));
    EXPECT_EQ(ParseExtensionList("tar.gz ..jpg"), (Texts{".tar.gz", ".jpg"}));
    EXPECT_EQ(ParseExtensionList(""), Texts{});
    EXPECT_EQ(ParseExtensionList(" , . ;"), Texts{});
}

TEST(DuplicateFiltersTest, StatusTextNamesTheFiltersInForce) {
    DuplicateFilters filters;
    filters.sameName = true;
    filters.extensions = ParseExtensionList(".doc,.zip,.exe,.txt");
    EXPECT_EQ(DuplicateFiltersText(filters),
              "Same name; .doc, .zip, .exe, .txt — change them under Options");
    filters.sameName = false;
    filters.excludedFolders = {"/a", "/b"};
    EXPECT_EQ(DuplicateFiltersText(filters),
              ".doc, .zip, .exe, .txt; 2 excluded folders — change them under Options");
    filters.extensions.clear();
    filters.excludedFolders.pop_back();
    EXPECT_EQ(DuplicateFiltersText(filters), "1 excluded folder — change them under Options");
    EXPECT_EQ(DuplicateFiltersText({}), "No filters — set them under Options");
}

TEST(DuplicateFiltersTest, InsideAFolderMeansBelowItNotBesideIt) {
    EXPECT_TRUE(IsInsideFolder("/data/a.txt", "/data"));
    EXPECT_TRUE(IsInsideFolder("/data/x/y/a.txt", "/data/"));
    EXPECT_TRUE(IsInsideFolder("/Data/A.txt", "/data"));
    EXPECT_TRUE(IsInsideFolder("/data", "/data"));
    EXPECT_TRUE(IsInsideFolder("/anything", "/"));
    EXPECT_FALSE(IsInsideFolder("/database/a.txt", "/data"));
    EXPECT_FALSE(IsInsideFolder("/dat", "/data"));
    EXPECT_FALSE(IsInsideFolder("/data/a.txt", ""));
    // The platform's separators: Windows' backslash and its drive roots; on Linux a backslash
    // is part of a name.
    if (IsPathSeparator('\\')) {
        EXPECT_TRUE(IsInsideFolder("C:\\Data\\x\\a.txt", "c:\\data"));
        EXPECT_TRUE(IsInsideFolder("C:\\a.txt", "C:\\"));
        EXPECT_FALSE(IsInsideFolder("C:\\database\\a.txt", "C:\\data\\"));
    } else {
        EXPECT_FALSE(IsInsideFolder("/data\\a.txt", "/data"));
    }
}

// Random catalogs, each filtered search checked against a plain restatement of the rules that
// looks at every pair of rows.
struct OracleRow {
    std::string path, name, checkSum;
};

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool OraclePasses(const OracleRow& row, const DuplicateFilters& filters) {
    const std::string name = Lower(row.name);
    bool extensionOk = filters.extensions.empty();
    for (const std::string& extension : filters.extensions) {
        extensionOk |=
            name.size() >= extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
    }
    for (std::string folder : filters.excludedFolders) {
        folder = Lower(folder);
        if (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        const std::string path = Lower(row.path);
        if (path == folder || path.rfind(folder + "/", 0) == 0) {
            return false;
        }
    }
    return extensionOk;
}

bool OracleSameGroup(const OracleRow& a, const OracleRow& b, bool sameName) {
    return a.checkSum == b.checkSum && (!sameName || Lower(a.name) == Lower(b.name));
}

TEST(DuplicateFiltersTest, FilteredSearchesMatchTheRulesOnRandomCatalogs) {
    std::mt19937 random(20);
    const Texts folders{"/a", "/a/sub", "/B", "/b/deep/er", "/ab"};
    const Texts names{"x.doc", "X.DOC", "x.zip", "y.txt", "y.TXT", "z.tar.gz", "plain", ".doc"};
    const Texts sums{"", "11", "22", "33", "44"};
    TTestCatalog catalog;
    catalog.Database().RunStatement("PRAGMA synchronous=OFF;"); // nothing here must survive a crash
    for (int round = 0; round < 60; ++round) {
        std::vector<OracleRow> rows;
        const int count = 2 + static_cast<int>(random() % 30);
        catalog.Database().StartTransaction();
        catalog.Database().RunStatement("DELETE FROM tblFiles;");
        for (int i = 0; i < count; ++i) {
            OracleRow row;
            row.name = names[random() % names.size()];
            row.path =
                folders[random() % folders.size()] + "/" + std::to_string(i) + "/" + row.name;
            row.checkSum = sums[random() % sums.size()];
            catalog.Insert({.fullPath = row.path, .checkSum = row.checkSum});
            rows.push_back(row);
        }
        catalog.Database().CommitTransaction();
        DuplicateFilters filters;
        filters.sameName = random() % 2 == 0;
        const Texts extensionTexts{"", "doc", ".ZIP, txt", "gz", "tar.gz doc"};
        filters.extensions = ParseExtensionList(extensionTexts[random() % extensionTexts.size()]);
        if (random() % 2 == 0) {
            filters.excludedFolders.push_back(folders[random() % folders.size()]);
        }
        if (random() % 3 == 0) {
            filters.excludedFolders.push_back("/b/");
        }

        std::multiset<std::string> expected;
        for (const OracleRow& row : rows) {
            if (row.checkSum.empty() || !OraclePasses(row, filters)) {
                continue;
            }
            const auto partners = std::count_if(rows.begin(), rows.end(), [&](const OracleRow& o) {
                return OracleSameGroup(row, o, filters.sameName) && OraclePasses(o, filters);
            });
            if (partners >= 2) {
                expected.insert(row.path);
            }
        }

        TRecordingGridSink grid;
        const std::size_t loaded = FindDuplicateFiles(catalog.Database(), grid, filters);
        const Texts paths = grid.Column(kFullPathColumn);
        ASSERT_EQ(std::multiset<std::string>(paths.begin(), paths.end()), expected)
            << "round " << round;
        EXPECT_EQ(loaded, expected.size());
        EXPECT_EQ(grid.clears, 1);

        // Sorted by checksum as the window sorts them, each group's rows come together, so
        // banding marks each group once.
        TResultRowStore store;
        for (const ResultRow& row : grid.rows) {
            store.AppendRow(row);
        }
        store.SortByColumn(kCheckSumColumn, true);
        ShadeDuplicateGroups(store, filters.sameName);
        const auto oracleRow = [&](std::size_t i) {
            return OracleRow{"", std::string(store.Text(i, kFileNameColumn)),
                             std::string(store.Text(i, kCheckSumColumn))};
        };
        std::set<std::string> groupsSeen;
        for (std::size_t i = 0; i < store.RowCount(); ++i) {
            const OracleRow row = oracleRow(i);
            if (i > 0 && OracleSameGroup(oracleRow(i - 1), row, filters.sameName)) {
                EXPECT_EQ(store.Colour(i), store.Colour(i - 1)) << "round " << round;
                continue;
            }
            if (i > 0) {
                EXPECT_NE(store.Colour(i), store.Colour(i - 1)) << "round " << round;
            }
            const std::string key = row.checkSum + "/" + (filters.sameName ? Lower(row.name) : "");
            EXPECT_TRUE(groupsSeen.insert(key).second) << "group split, round " << round;
        }
    }
}

TEST(DuplicateFiltersTest, HardLinksCountOnceInAFilteredSearchToo) {
    TTestCatalog catalog;
    PrepareCatalogFormat(catalog.Database());
    catalog.Insert({.fullPath = "/a/x.txt", .checkSum = "11"});
    catalog.Insert({.fullPath = "/b/x.txt", .checkSum = "11"}); // a link to /a/x.txt
    catalog.Insert({.fullPath = "/c/x.txt", .checkSum = "22"});
    catalog.Insert({.fullPath = "/d/x.txt", .checkSum = "22"});
    catalog.Database().RunStatement(
        "INSERT INTO tblFileStamps (fldID, fldDevice, fldInode, fldSize, fldModifiedNs, "
        "fldChangedNs) SELECT fldID, 1, CASE WHEN fldFullPath IN ('/a/x.txt', '/b/x.txt') THEN 7 "
        "ELSE fldID + 100 END, 1, 1, 1 FROM tblFiles");
    DuplicateFilters filters;
    filters.sameName = true;
    TRecordingGridSink once;
    FindDuplicateFiles(catalog.Database(), once, filters);
    EXPECT_EQ(once.Column(kFullPathColumn), (Texts{"/c/x.txt", "/d/x.txt"}));
    TRecordingGridSink every;
    FindDuplicateFiles(catalog.Database(), every, filters, true);
    EXPECT_EQ(every.rows.size(), 4u);
}

TEST(DuplicateFiltersTest, WithoutFiltersTheSearchIsTheUnfilteredOne) {
    TTestCatalog catalog;
    catalog.Insert({.fullPath = "/x/a.doc", .checkSum = "11"});
    catalog.Insert({.fullPath = "/y/b.txt", .checkSum = "11"});
    catalog.Insert({.fullPath = "/y/c.txt", .checkSum = "22"});
    TRecordingGridSink filtered;
    TRecordingGridSink plain;
    EXPECT_EQ(FindDuplicateFiles(catalog.Database(), filtered, DuplicateFilters{}), 2u);
    EXPECT_EQ(FindDuplicateFiles(catalog.Database(), plain), 2u);
    EXPECT_EQ(filtered.rows, plain.rows);
}

} // namespace
} // namespace mirelon
