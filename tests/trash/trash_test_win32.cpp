// Windows only: the Recycle Bin takes files, wide names included, and failures say why.
#include "trash/trash.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <fstream>

namespace mirelon {
namespace {

namespace fs = std::filesystem;

// Items in every Recycle Bin of the machine.
int64_t ItemsInRecycleBins() {
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    return SUCCEEDED(::SHQueryRecycleBinW(nullptr, &bin)) ? bin.i64NumItems : -1;
}

// A file whose name is given as UTF-8, as the program passes paths; its path in UTF-8.
std::string WriteNamed(const test::TTempFolder& folder, const std::u8string& name) {
    std::ofstream(fs::path(folder.Path()) / fs::path(name), std::ios::binary) << "content";
    return folder.Path() + "\\" + std::string(name.begin(), name.end());
}

bool Exists(const std::string& utf8Path) {
    return fs::exists(fs::path(std::u8string(utf8Path.begin(), utf8Path.end())));
}

TEST(RecycleBin, FilesGoToTheRecycleBinAndFailuresSayWhy) {
    test::TTempFolder folder;
    const std::string plain = WriteNamed(folder, u8"plain.txt");
    const std::string wide = WriteNamed(folder, u8"caf\u00e9 \u20ac.txt");
    ASSERT_TRUE(Exists(wide));
    const int64_t before = ItemsInRecycleBins();

    for (const std::string& path : {plain, wide}) {
        const TrashOutcome outcome = MoveToTrash(path);
        EXPECT_TRUE(outcome.done) << path << ": " << outcome.reason;
        EXPECT_FALSE(Exists(path)) << path;
    }
    if (before >= 0) {
        EXPECT_EQ(ItemsInRecycleBins(), before + 2);
    }

    const TrashOutcome gone = MoveToTrash(plain);
    EXPECT_FALSE(gone.done);
    EXPECT_FALSE(gone.reason.empty());
    const TrashOutcome notAFile = MoveToTrash(folder.Path());
    EXPECT_EQ(notAFile.reason, "is a folder, not a file");
}

TEST(RecycleBin, DeletePermanentlyRemovesTheFile) {
    test::TTempFolder folder;
    const std::string path = folder.Write("x.txt", std::string("x"));
    EXPECT_TRUE(DeletePermanently(path).done);
    EXPECT_FALSE(fs::exists(path));
    const TrashOutcome again = DeletePermanently(path);
    EXPECT_FALSE(again.done);
    EXPECT_FALSE(again.reason.empty());
}

} // namespace
} // namespace mirelon
