// Files of 4 GiB and more are hashed over their full 64-bit size.
#include "hash/hash_service.h"
#include "tests/hash/hash_test_files.h"
#include "tests/hash/hash_test_support.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace mirelon {
namespace {

constexpr int32_t kAdler32 = 262, kMd5 = 259;
constexpr uint64_t kFourGiB = uint64_t{1} << 32;

// Adler-32 of `zeros` zero bytes followed by `tail`: the zeros leave s1 at 1 and add 1 to s2
// each, so only the tail needs feeding.
std::string Adler32AfterZeros(uint64_t zeros, std::string_view tail) {
    uint64_t s1 = 1, s2 = zeros % 65521;
    for (unsigned char byte : tail) {
        s1 = (s1 + byte) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    return ToHex(8, (s2 << 16) | s1);
}

class LargeFileTest : public ::testing::Test {
protected:
    std::string MakeFile(const std::string& name, uint64_t size, std::string_view tail) {
        const std::string path = folder_.File(name);
        if (!test::MakeSparseFile(path, size, tail) || !test::IsSparse(path)) {
            return {};
        }
        return path;
    }
    test::TTempFolder folder_{test::SparseFileParent()};
};

TEST_F(LargeFileTest, SizeIsReportedInFull) {
    const std::string path = MakeFile("five", 5 * (uint64_t{1} << 30) + 3, "end");
    if (path.empty()) {
        GTEST_SKIP() << "no sparse files here";
    }
    EXPECT_EQ(HashFileSize(path), static_cast<int64_t>(5 * (uint64_t{1} << 30) + 3));
}

TEST_F(LargeFileTest, RangesBeyondFourGiBReadTheRightBytes) {
    const std::string path = MakeFile("tail", kFourGiB + 6, "abcdef");
    if (path.empty()) {
        GTEST_SKIP() << "no sparse files here";
    }
    HashContext context;
    ASSERT_EQ(HashInit(&context, kMd5), 0);
    ASSERT_TRUE(HashFileRange(&context, path, kFourGiB - 2, kFourGiB + 3));
    std::string text;
    ASSERT_EQ(HashFinal(&context, text), 0);
    EXPECT_EQ(text, test::HashText(kMd5, std::string("\0\0abc", 5)));
}

// Two files that share their first 4 GiB and differ only at the end: each checksum covers every
// byte, so they differ, and neither is the checksum of the empty input.
TEST_F(LargeFileTest, FilesDifferingOnlyPastFourGiBGetTheirOwnChecksums) {
    const std::string first = MakeFile("first", kFourGiB + 4, "\x01\x02\x03\x04");
    const std::string second = MakeFile("second", kFourGiB, "\x05");
    if (first.empty() || second.empty()) {
        GTEST_SKIP() << "no sparse files here";
    }
    std::string firstText, secondText;
    ASSERT_EQ(HashFile(kAdler32, first, firstText), 0);
    ASSERT_EQ(HashFile(kAdler32, second, secondText), 0);
    EXPECT_EQ(firstText, Adler32AfterZeros(kFourGiB, "\x01\x02\x03\x04"));
    EXPECT_EQ(secondText, Adler32AfterZeros(kFourGiB - 1, "\x05"));
    EXPECT_NE(firstText, secondText);
    EXPECT_NE(secondText, "00000001");
}

} // namespace
} // namespace mirelon
