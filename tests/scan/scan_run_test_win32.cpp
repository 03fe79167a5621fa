// Windows only: names beyond the ANSI code page, names that are no valid UTF-16 and paths past
// 260 characters, catalogued under their UTF-8 names with Windows separators.
#include "base/wide_path.h"
#include "tests/scan/scan_run_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

namespace mirelon {
namespace {

using testing::ScanRunTest;

void WriteWide(const std::string& path, const std::string& content) {
    const HANDLE file =
        ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    ::CloseHandle(file);
}

TEST_F(ScanRunTest, UnicodeNamesAndLongPathsAreCataloguedWhole) {
    // "snow ☃ café.TXT" and a folder in Greek: neither fits an ANSI code page.
    const std::string unicodeName = "snow \xE2\x98\x83 caf\xC3\xA9.TXT";
    const std::string greek = "\xCE\xB1\xCE\xB2\xCE\xB3";
    tree.Folder(greek);
    WriteWide(tree.Path(greek + "/" + unicodeName), "hello");
    std::string deep = tree.Folder("deep");
    for (int level = 0; level < 5; ++level) {
        deep += "\\" + std::string(60, static_cast<char>('p' + level));
        ASSERT_TRUE(::CreateDirectoryW(WidePath(deep).c_str(), nullptr));
    }
    const std::string deepFile = deep + "\\abc.bin";
    WriteWide(deepFile, "abc");
    ASSERT_GT(deepFile.size(), 300u);

    ASSERT_EQ(Scan().error, "");
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u) << run->SkippedHint();
    const auto& unicode = rows.at(tree.Root() + "\\" + greek + "\\" + unicodeName);
    EXPECT_EQ(unicode.fileName, unicodeName);
    EXPECT_EQ(unicode.extension, ".TXT");
    EXPECT_EQ(unicode.size, "5");
    EXPECT_EQ(unicode.checkSum, "5d41402abc4b2a76b9719d911017c592"); // md5sum of "hello"
    const auto& longOne = rows.at(deepFile);
    EXPECT_EQ(longOne.fileName, "abc.bin");
    EXPECT_EQ(longOne.checkSum, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_NE(longOne.modified, "");
}

std::vector<std::string> PathsInIdOrder(const std::string& catalogFile) {
    TSQLiteDatabase reader(catalogFile);
    const auto table = reader.OpenResult("SELECT fldFullPath FROM tblFiles ORDER BY fldID");
    std::vector<std::string> paths;
    for (; !table->AtEnd(); table->MoveNext()) {
        paths.push_back(table->TextAt(0));
    }
    return paths;
}

// A lone surrogate in a file's or a folder's name: the file is read on a worker all the same,
// catalogued, and named among the skips by the thread that writes the rows, in walk order.
TEST_F(ScanRunTest, NamesThatAreNoValidUtf16AreCataloguedAndListedInWalkOrderWhateverTheJobs) {
    const std::wstring lone(1, static_cast<wchar_t>(0xD800));
    const std::wstring root = WidePath(tree.Root());
    // Wine keeps names as UTF-8 on the host's disk, where a lone surrogate has no form.
    if (!::CreateDirectoryW((root + L"\\c" + lone).c_str(), nullptr)) {
        GTEST_SKIP() << "the file system refuses names that are no valid UTF-16";
    }
    int loneFiles = 0;
    const auto write = [&](const std::wstring& path, bool loneName) {
        const HANDLE file =
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file, "hello", 5, &written, nullptr));
        ::CloseHandle(file);
        loneFiles += loneName ? 1 : 0;
    };
    for (const std::wstring& folder : std::vector<std::wstring>{L"a", L"b", L"c" + lone}) {
        const bool loneFolder = folder.size() > 1;
        ASSERT_TRUE(loneFolder || ::CreateDirectoryW((root + L"\\" + folder).c_str(), nullptr));
        // Few enough for the skips kept to hold all of them.
        for (int i = 0; i < (loneFolder ? 8 : 30); ++i) {
            const bool loneName = i % 7 == 3;
            const std::wstring name = std::to_wstring(i) + (loneName ? lone : L"") + L".bin";
            write(root + L"\\" + folder + L"\\" + name, loneFolder || loneName);
        }
    }

    std::vector<std::vector<SkippedFile>> skips;
    std::vector<std::vector<std::string>> orders;
    for (const int jobCount : {1, 4}) {
        jobs = jobCount;
        catalog.reset();
        ASSERT_EQ(Scan().error, "");
        catalog.reset();
        EXPECT_EQ(run->SkippedCount(), loneFiles);
        skips.push_back(run->Skipped());
        orders.push_back(PathsInIdOrder(dataDir + "files.db"));
        const auto rows = Rows();
        ASSERT_EQ(rows.size(), 68u);
        std::vector<std::string> expected; // the skipped files in the order of their rows
        for (const std::string& path : orders.back()) {
            if (path.find("\xEF\xBF\xBD") != std::string::npos) {
                expected.push_back(path);
            }
        }
        std::vector<std::string> listed;
        for (const SkippedFile& skipped : run->Skipped()) {
            listed.push_back(skipped.path);
            EXPECT_NE(skipped.reason.find("U+FFFD"), std::string::npos) << skipped.reason;
            EXPECT_EQ(rows.at(skipped.path).checkSum, "5d41402abc4b2a76b9719d911017c592");
        }
        EXPECT_EQ(listed, expected) << jobCount << " jobs";
    }
    EXPECT_EQ(orders[0], orders[1]);
    ASSERT_EQ(skips[0].size(), skips[1].size());
    for (size_t i = 0; i < skips[0].size(); ++i) {
        EXPECT_EQ(skips[0][i].path, skips[1][i].path);
    }
}

} // namespace
} // namespace mirelon
