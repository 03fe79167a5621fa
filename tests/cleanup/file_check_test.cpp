#include "cleanup/file_check.h"
#include "hash/hash_service.h"
#include "scan/file_times.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace mirelon {
namespace {

namespace fs = std::filesystem;

const int32_t kMd5 = HashMethodByName("MD5");

class FileCheckTest : public testing::Test {
protected:
    // Writes the file and describes it as a scan with `method` would have catalogued it.
    FileRecord Catalogued(const std::string& name, const std::string& content,
                          int32_t method = kMd5) {
        FileRecord file;
        file.path = folder.Write(name, content);
        file.size = content.size();
        EXPECT_EQ(HashFile(method, file.path, file.checkSum), kHashOk);
        return file;
    }

    test::TTempFolder folder;
};

TEST_F(FileCheckTest, ChecksumsOfAnotherMethodAreFoundUnlessTheMethodIsKnown) {
    const int32_t crc32 = HashMethodByName("CRC32");
    const int32_t adler32 = HashMethodByName("ADLER32");
    const FileRecord file = Catalogued("crc.txt", "checked by CRC32", crc32);
    EXPECT_EQ(CheckUnchanged(file, CandidateHashMethods(file.checkSum, kMd5)), "");
    EXPECT_EQ(CheckUnchanged(file, CandidateHashMethods(file.checkSum, adler32)), "");
    EXPECT_EQ(CheckUnchanged(file, CandidateHashMethods(file.checkSum, adler32, true)),
              "changed since the scan (its checksum differs)");
    EXPECT_EQ(CandidateHashMethods(file.checkSum, kMd5, true), std::vector<int32_t>{kMd5});
    FileRecord unknown = file;
    unknown.checkSum = "abc";
    EXPECT_EQ(CheckUnchanged(unknown, CandidateHashMethods(unknown.checkSum, kMd5)),
              "its checksum is of no known hash method");
    unknown.checkSum.clear();
    EXPECT_EQ(CheckUnchanged(unknown, {kMd5}), "has no checksum in the catalog to compare with");
}

TEST_F(FileCheckTest, SizeAndContentAreComparedAndAVanishedFileSaysSo) {
    FileRecord file = Catalogued("a.txt", "abcd");
    EXPECT_EQ(CheckUnchanged(file, {kMd5}), "");
    folder.Write("a.txt", "dcba");
    EXPECT_EQ(CheckUnchanged(file, {kMd5}), "changed since the scan (its checksum differs)");
    folder.Write("a.txt", "abcde");
    EXPECT_EQ(CheckUnchanged(file, {kMd5}), "changed since the scan (5 bytes, catalogued 4)");
    fs::remove(file.path);
    EXPECT_FALSE(CheckUnchanged(file, {kMd5}).empty());
}

TEST_F(FileCheckTest, AStampedRowIsCheckedByItsStampAlone) {
    FileRecord file = Catalogued("stamped.txt", "stamped");
    FileStamp stamp;
    ASSERT_TRUE(ReadFileStamp(file.path, stamp));
    EXPECT_EQ(stamp.size, 7u);
    file.stamp = stamp;
    file.checkSum = "0123456789abcdef0123456789abcdef"; // not read when the stamp is there
    EXPECT_EQ(CheckUnchanged(file, {kMd5}), "");

    // Written again with the same bytes: the stamp tells, although the checksum would not.
    fs::last_write_time(file.path, fs::last_write_time(file.path) + std::chrono::seconds(1));
    EXPECT_EQ(CheckUnchanged(file, {kMd5}), "changed since the scan");
    fs::remove(file.path);
    fs::create_directory(file.path);
    EXPECT_EQ(CheckUnchanged(file, {kMd5}), "is no longer a regular file");
}

} // namespace
} // namespace mirelon
