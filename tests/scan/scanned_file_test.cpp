// Files read side by side, as a scan's worker reads small files, against the same files read one
// at a time: the same outcome and every field alike, whatever happened to a file after the walk
// looked at it.
#include "scan/scanned_file.h"

#include "hash/hash_service.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace mirelon {
namespace {

void ExpectSameRead(const ScannedFile& together, const ScannedFile& alone) {
    const std::string& path = alone.row.fullPath;
    EXPECT_EQ(together.outcome, alone.outcome) << path;
    EXPECT_EQ(together.hashCode, alone.hashCode) << path;
    EXPECT_EQ(together.failure, alone.failure) << path;
    EXPECT_EQ(together.datesClamped, alone.datesClamped) << path;
    const CatalogRow& a = together.row;
    const CatalogRow& b = alone.row;
    EXPECT_EQ(a.fullPath, b.fullPath);
    EXPECT_EQ(a.fileName, b.fileName) << path;
    EXPECT_EQ(a.fileExtension, b.fileExtension) << path;
    EXPECT_EQ(a.fileSize, b.fileSize) << path;
    EXPECT_EQ(a.checkSum, b.checkSum) << path;
    EXPECT_EQ(a.dateCreated, b.dateCreated) << path;
    EXPECT_EQ(a.dateModified, b.dateModified) << path;
    EXPECT_EQ(a.dateAccessed, b.dateAccessed) << path;
    EXPECT_EQ(a.importModules, b.importModules) << path;
    EXPECT_EQ(a.companyName, b.companyName) << path;
    EXPECT_EQ(a.internalName, b.internalName) << path;
    EXPECT_EQ(a.fileVersion, b.fileVersion) << path;
    // Each read that puts the access time back moves the status-change time (under Wine, say,
    // where reading moves the access time), so only the rest of the stamp is the same.
    EXPECT_EQ(together.stamp.device, alone.stamp.device) << path;
    EXPECT_EQ(together.stamp.inode, alone.stamp.inode) << path;
    EXPECT_EQ(together.stamp.size, alone.stamp.size) << path;
    EXPECT_EQ(together.stamp.modifiedNs, alone.stamp.modifiedNs) << path;
}

TEST(ScannedFiles, ReadSideBySideAsReadAloneAlsoWhenAFileVanishedOrChangedSinceTheWalk) {
    test::TTempFolder folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 70; ++i) {
        std::string content(static_cast<size_t>(i * 613 % 5000), '\0');
        for (size_t b = 0; b < content.size(); ++b) {
            content[b] = static_cast<char>((b * 31 + static_cast<size_t>(i)) % 251);
        }
        paths.push_back(folder.Write("small" + std::to_string(i), content));
        if (i == 20) {
            paths.push_back(folder.Write("megabyte", std::string((1 << 20) + 7, 'm')));
        }
    }
    testing::PeImageSpec pe;
    pe.imports = {"KERNEL32.dll", "USER32.dll"};
    pe.version.emplace();
    pe.version->strings = {{"CompanyName", u"Acme"}, {"InternalName", u"tool"}};
    paths.push_back(folder.Write("tool.exe", testing::WritePeImage(pe)));
    paths.push_back(folder.Write("stub.exe", "MZ"));
    paths.push_back(folder.Write("empty", ""));
    const std::string gone = folder.Write("gone", "here when the walk came by");
    const std::string rewritten = folder.Write("rewritten", "before");
    paths.insert(paths.begin() + 10, gone);
    paths.insert(paths.begin() + 30, rewritten);

    std::vector<FileLocation> locations(paths.begin(), paths.end());
    std::vector<FileFacts> facts(paths.size());
    std::vector<FileToRead> files;
    for (size_t i = 0; i < paths.size(); ++i) {
        ASSERT_TRUE(ReadFileFacts(locations[i], facts[i])) << paths[i];
        files.push_back({&locations[i], &facts[i]});
    }
    // After the walk read their entries, before a worker reads them.
    std::filesystem::remove(gone);
    folder.Write("rewritten", "after, and longer");

    // The lanes' methods, and one that hashes file after file.
    for (const char* method : {"MD5", "MD4", "SHA1"}) {
        SCOPED_TRACE(method);
        const int32_t id = HashMethodByName(method);
        const std::vector<ScannedFile> together = ReadScannedFiles(files, id);
        ASSERT_EQ(together.size(), paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            ExpectSameRead(together[i], ReadScannedFile(locations[i], id, &facts[i]));
        }
        EXPECT_EQ(together[10].outcome, ScannedFile::Outcome::Vanished);
        const ScannedFile& changed = together[30];
        EXPECT_EQ(changed.outcome, ScannedFile::Outcome::Read);
        std::string sum;
        ASSERT_EQ(HashFile(id, rewritten, sum), kHashOk);
        EXPECT_EQ(changed.row.checkSum, sum);
        EXPECT_EQ(changed.row.fileSize, 17u);
        for (const ScannedFile& read : together) {
            if (read.row.fileName == "tool.exe") {
                EXPECT_EQ(read.row.importModules, ",kernel32.dll,user32.dll");
                EXPECT_EQ(read.row.companyName, "Acme");
            }
        }
    }
}

} // namespace
} // namespace mirelon
