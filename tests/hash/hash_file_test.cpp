// Hashing files: whole files, ranges, what is refused, and how failed reads are reported.
#include "hash/hash_range.h"
#include "hash/hash_service.h"
#include "tests/hash/hash_file_fixture.h"
#include "tests/hash/hash_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace mirelon {
namespace {

using test::HashFileTest;
using test::HashText;
using test::kCrc32b;
using test::kMd5;

TEST_F(HashFileTest, WholeFileMatchesTheBytesHashedInMemory) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{4096}, size_t{3 * 4096}, size_t{3 * 4096 + 1},
                        size_t{256 * 1024}, size_t{256 * 1024 + 1}, size_t{600000}}) {
        const std::string bytes = test::RandomBytes(size, static_cast<uint32_t>(size));
        const std::string path = folder_.Write("data.bin", bytes);
        EXPECT_EQ(HashFileSize(path), static_cast<int64_t>(size));
        for (int32_t method : test::RegisteredMethods()) {
            std::string text;
            ASSERT_EQ(HashFile(method, path, text), 0) << size;
            EXPECT_EQ(text, HashText(method, bytes)) << HashMethodName(method) << " " << size;
        }
    }
}

TEST_F(HashFileTest, EmptyFileGivesTheEmptyInputTexts) {
    const std::string path = folder_.Write("empty", "");
    std::string text;
    ASSERT_EQ(HashFile(kMd5, path, text), 0);
    EXPECT_EQ(text, "d41d8cd98f00b204e9800998ecf8427e");
    ASSERT_EQ(HashFile(kCrc32b, path, text), 0);
    EXPECT_EQ(text, "00000000");
    ASSERT_EQ(HashFile(262, path, text), 0);
    EXPECT_EQ(text, "00000001");
}

TEST_F(HashFileTest, UnknownMethodIsReportedOnlyForAnOpenableFile) {
    const std::string path = folder_.Write("abc", "abc");
    const std::string missing = folder_.File("missing");
    for (int32_t method : {256, 278}) {
        std::string text;
        EXPECT_EQ(HashFile(method, path, text), 1);
        EXPECT_EQ(HashFile(method, missing, text), 5);
        EXPECT_TRUE(text.empty());
    }
    std::string text;
    EXPECT_EQ(HashFile(kMd5, missing, text), 5);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(HashFileSize(missing), -1);
}

TEST_F(HashFileTest, RangeFeedsExactlyTheRequestedBytes) {
    const std::string bytes = test::RandomBytes(300000, 9);
    const std::string path = folder_.Write("data.bin", bytes);
    for (auto [start, end] : {std::pair<uint64_t, uint64_t>{0, 0},
                              {5, 5},
                              {0, 1},
                              {1, 4097},
                              {4095, 270000},
                              {299999, 300000},
                              {0, 300000}}) {
        HashContext context;
        ASSERT_EQ(HashInit(&context, kMd5), 0);
        ASSERT_TRUE(HashFileRange(&context, path, start, end)) << start << ".." << end;
        std::string text;
        ASSERT_EQ(HashFinal(&context, text), 0);
        EXPECT_EQ(text, HashText(kMd5, std::string_view(bytes).substr(start, end - start)))
            << start << ".." << end;
    }
}

TEST_F(HashFileTest, RangeThatCannotBeReadInFullFails) {
    const std::string path = folder_.Write("abc", "abc");
    HashContext context;
    ASSERT_EQ(HashInit(&context, kMd5), 0);
    EXPECT_FALSE(HashFileRange(&context, path, 0, 4));
    EXPECT_FALSE(HashFileRange(&context, path, 10, 20));
    EXPECT_FALSE(HashFileRange(&context, path, 2, 1));
    EXPECT_FALSE(HashFileRange(&context, folder_.File("missing"), 0, 0));
    EXPECT_FALSE(HashFileRange(nullptr, path, 0, 3));
    HashContext closed;
    EXPECT_FALSE(HashFileRange(&closed, path, 0, 3));
}

// Bytes held in memory, handed out in small pieces, failing or ending early on request.
class ScriptedSource final : public ByteSource {
public:
    ScriptedSource(std::string bytes, size_t largestRead, uint64_t failAt = UINT64_MAX)
        : bytes_(std::move(bytes)), largestRead_(largestRead), failAt_(failAt) {}

    int64_t ReadAt(uint64_t offset, void* buffer, size_t capacity) override {
        if (offset >= failAt_) {
            return -1;
        }
        if (offset >= bytes_.size()) {
            return 0;
        }
        const size_t count = std::min({capacity, largestRead_, bytes_.size() - offset});
        std::memcpy(buffer, bytes_.data() + offset, count);
        return static_cast<int64_t>(count);
    }

private:
    std::string bytes_;
    size_t largestRead_;
    uint64_t failAt_;
};

std::string HashSource(ScriptedSource& source, uint64_t start, uint64_t end, bool* fed) {
    HashContext context;
    HashInit(&context, kMd5);
    *fed = HashRange(&context, source, start, end);
    std::string text;
    HashFinal(&context, text);
    return text;
}

TEST(HashRangeTest, ShortReadsGiveTheSameText) {
    const std::string bytes = test::RandomBytes(100000, 4);
    for (size_t largest : {1u, 7u, 4096u, 65537u}) {
        ScriptedSource source(bytes, largest);
        bool fed = false;
        EXPECT_EQ(HashSource(source, 0, bytes.size(), &fed), HashText(kMd5, bytes)) << largest;
        EXPECT_TRUE(fed);
    }
}

TEST(HashRangeTest, ReadErrorPartWayFails) {
    ScriptedSource source(test::RandomBytes(600000, 8), 100000, 300000);
    bool fed = true;
    HashSource(source, 0, 600000, &fed);
    EXPECT_FALSE(fed);
}

TEST(HashRangeTest, SourceThatShrankFails) {
    ScriptedSource source(test::RandomBytes(1000, 8), 4096);
    bool fed = true;
    HashSource(source, 0, 1001, &fed);
    EXPECT_FALSE(fed);
}

TEST(HashRangeTest, SourceThatGrewIsHashedOverTheRange) {
    const std::string bytes = test::RandomBytes(5000, 2);
    ScriptedSource source(bytes + "grown", 4096);
    bool fed = false;
    EXPECT_EQ(HashSource(source, 0, bytes.size(), &fed), HashText(kMd5, bytes));
    EXPECT_TRUE(fed);
}

} // namespace
} // namespace mirelon
