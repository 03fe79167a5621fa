// Batches of files and open sources: each one gets exactly what hashing it alone gives, a
// failing one included, in input order.
#include "hash/hash_batch.h"
#include "tests/hash/hash_test_support.h"
#include "tests/support/named_pipe.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using test::HashText;

constexpr int32_t kMd4 = 258, kMd5 = 259, kCrc32b = 261, kSha1 = 269;
constexpr size_t kNever = std::numeric_limits<size_t>::max();

// Bytes in memory, read in pieces of at most `piece` bytes; a read at or past `failAt` fails,
// and the bytes end at `endAt` whatever size the batch is told.
class MemorySource final : public ByteSource {
public:
    MemorySource(std::string bytes, size_t piece, size_t failAt = kNever, size_t endAt = kNever)
        : bytes_(std::move(bytes)), piece_(piece), failAt_(failAt),
          endAt_(std::min(endAt, bytes_.size())) {}

    int64_t ReadAt(uint64_t offset, void* buffer, size_t capacity) override {
        if (offset >= failAt_) {
            return -1;
        }
        if (offset >= endAt_) {
            return 0;
        }
        const size_t count = std::min({capacity, piece_, endAt_ - static_cast<size_t>(offset)});
        std::memcpy(buffer, bytes_.data() + offset, count);
        return static_cast<int64_t>(count);
    }

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    size_t piece_, failAt_, endAt_;
};

// Every path this processor has, each on one lane, on a few lanes and on all of them.
std::vector<HashBatchOptions> LaneSettings() {
    std::vector<HashBatchOptions> settings;
    for (MdLanePath path : {MdLanePath::kScalar, MdLanePath::kAvx2, MdLanePath::kAvx512}) {
        if (MdLanePathSupported(path)) {
            for (int lanes : {1, 3, MdLaneWidth(path)}) {
                settings.push_back({path, lanes});
            }
        }
    }
    return settings;
}

std::string Describe(const HashBatchOptions& options, int32_t method) {
    return std::string(MdLanePathName(options.path)) + ", " + std::to_string(options.lanes) +
           " lanes, " + (HashMethodName(method) != nullptr ? HashMethodName(method) : "unknown");
}

TEST(HashSourceBatch, ReadsInAnyPiecesGiveTheSingleStreamTexts) {
    // Lengths around the 64 KiB the lanes read at a time, read whole, in odd pieces and in
    // pieces that leave a partial block at every refill.
    std::vector<std::unique_ptr<MemorySource>> owned;
    std::vector<HashBatchSource> sources;
    uint32_t seed = 0;
    for (size_t piece : {size_t{7}, size_t{4000}, kNever}) {
        for (size_t length : {0, 1, 63, 64, 65, 65535, 65536, 65537, 65536 + 55, 131136, 200000}) {
            owned.push_back(
                std::make_unique<MemorySource>(test::RandomBytes(length, ++seed), piece));
            sources.push_back({owned.back().get(), length});
        }
    }
    for (int32_t method : {kMd4, kMd5}) {
        for (const HashBatchOptions& options : LaneSettings()) {
            SCOPED_TRACE(Describe(options, method));
            const std::vector<HashBatchResult> results = HashSourceBatch(method, sources, options);
            ASSERT_EQ(results.size(), sources.size());
            for (size_t i = 0; i < sources.size(); ++i) {
                EXPECT_EQ(results[i].code, 0) << i;
                EXPECT_EQ(results[i].text, HashText(method, owned[i]->Bytes())) << i;
            }
        }
    }
}

TEST(HashSourceBatch, AFailingSourceGetsItsCodeAndTheOthersTheirTexts) {
    const std::string bytes = test::RandomBytes(100000, 5);
    MemorySource good(bytes, kNever), goodInPieces(bytes.substr(0, 70001), 999);
    MemorySource failsAtOnce(bytes, kNever, 0), failsMidway(bytes, 4096, 40000);
    MemorySource endsEarly(bytes, kNever, kNever, 5000);
    // Failures at every position, so that some lane fails while the others run on.
    const std::vector<HashBatchSource> sources = {
        {&failsAtOnce, 100000}, {&good, 100000},        {&failsMidway, 100000},
        {nullptr, 10},          {&goodInPieces, 70001}, {&endsEarly, 10000},
        {&good, 777},           {&failsMidway, 100000}, {&good, 0}};
    for (int32_t method : {kMd4, kMd5, kSha1}) {
        const std::vector<HashBatchResult> expected = {
            {4, ""},
            {0, HashText(method, bytes)},
            {4, ""},
            {5, ""},
            {0, HashText(method, bytes.substr(0, 70001))},
            {4, ""},
            {0, HashText(method, bytes.substr(0, 777))},
            {4, ""},
            {0, HashText(method, "")}};
        for (const HashBatchOptions& options : LaneSettings()) {
            SCOPED_TRACE(Describe(options, method));
            const std::vector<HashBatchResult> results = HashSourceBatch(method, sources, options);
            ASSERT_EQ(results.size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                EXPECT_EQ(results[i].code, expected[i].code) << i;
                EXPECT_EQ(results[i].text, expected[i].text) << i;
            }
        }
    }
}

TEST(HashFileBatch, EveryFileGetsHashFilesCodeAndText) {
    test::TTempFolder folder;
    std::vector<std::string> names;
    uint32_t seed = 100;
    for (size_t size : {300000, 0, 1, 55, 64, 4096, 32769, 1000, 120}) {
        names.push_back(
            folder.Write("file" + std::to_string(names.size()), test::RandomBytes(size, ++seed)));
    }
    // Files that cannot be opened, among the others.
    const std::string fifo = test::MakeNamedPipe(folder.File("pipe"));
    names.insert(names.begin() + 2, folder.File("missing"));
    names.insert(names.begin() + 5, fifo);
    names.insert(names.begin() + 7, folder.File(""));
    names.push_back(folder.File("missing too"));

    // MD4 and MD5 run in lanes; other methods, and an unknown one, one file after another.
    for (int32_t method : {kMd4, kMd5, kCrc32b, 256}) {
        std::vector<HashBatchResult> expected(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            expected[i].code = HashFile(method, names[i], expected[i].text);
        }
        for (const HashBatchOptions& options : LaneSettings()) {
            SCOPED_TRACE(Describe(options, method));
            const std::vector<HashBatchResult> results = HashFileBatch(method, names, options);
            ASSERT_EQ(results.size(), names.size());
            for (size_t i = 0; i < names.size(); ++i) {
                EXPECT_EQ(results[i].code, expected[i].code) << names[i];
                EXPECT_EQ(results[i].text, expected[i].text) << names[i];
            }
        }
        const std::vector<HashBatchResult> byDefault = HashFileBatch(method, names);
        EXPECT_EQ(byDefault.back().code, 5);
        EXPECT_EQ(byDefault.front().text, expected.front().text);
    }
}

} // namespace
} // namespace mirelon
