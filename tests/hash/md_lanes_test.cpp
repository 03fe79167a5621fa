// Multi-buffer MD4 and MD5 against the single-stream code and the published vectors, on every
// lane count of every path this processor has.
#include "hash/md_lanes.h"
#include "tests/hash/hash_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using test::HashText;

constexpr int32_t kMd4 = 258, kMd5 = 259;
constexpr MdAlgorithm kAlgorithms[] = {MdAlgorithm::kMd4, MdAlgorithm::kMd5};

int32_t MethodOf(MdAlgorithm algorithm) {
    return algorithm == MdAlgorithm::kMd4 ? kMd4 : kMd5;
}

std::vector<MdLanePath> SupportedPaths() {
    std::vector<MdLanePath> paths;
    for (MdLanePath path : {MdLanePath::kScalar, MdLanePath::kAvx2, MdLanePath::kAvx512}) {
        if (MdLanePathSupported(path)) {
            paths.push_back(path);
        }
    }
    return paths;
}

std::vector<std::string> LaneTexts(MdAlgorithm algorithm, MdLanePath path, int lanes,
                                   const std::vector<std::string>& messages) {
    std::vector<std::span<const uint8_t>> spans;
    for (const std::string& message : messages) {
        spans.emplace_back(reinterpret_cast<const uint8_t*>(message.data()), message.size());
    }
    std::vector<MdDigest> digests(messages.size());
    MdLaneDigests(algorithm, path, lanes, spans, digests);
    std::vector<std::string> texts;
    for (const MdDigest& digest : digests) {
        texts.push_back(DigestText(digest.data(), digest.size()));
    }
    return texts;
}

// Every message through every lane count of every path gives the single-stream text.
void ExpectSingleStreamTexts(const std::vector<std::string>& messages) {
    for (MdAlgorithm algorithm : kAlgorithms) {
        std::vector<std::string> expected;
        for (const std::string& message : messages) {
            expected.push_back(HashText(MethodOf(algorithm), message));
        }
        for (MdLanePath path : SupportedPaths()) {
            for (int lanes = 1; lanes <= MdLaneWidth(path); ++lanes) {
                SCOPED_TRACE(std::string(MdLanePathName(path)) + ", " + std::to_string(lanes) +
                             " lanes, " + HashMethodName(MethodOf(algorithm)));
                EXPECT_EQ(LaneTexts(algorithm, path, lanes, messages), expected);
            }
        }
    }
}

std::vector<std::string> MessagesOfLengths(const std::vector<size_t>& lengths) {
    std::vector<std::string> messages;
    for (size_t length : lengths) {
        messages.push_back(test::RandomBytes(length, static_cast<uint32_t>(length * 7 + 1)));
    }
    return messages;
}

TEST(MdLanes, EveryLengthUpTo300AndAroundThePaddingBoundaries) {
    std::vector<size_t> lengths;
    for (size_t length = 0; length <= 300; ++length) {
        lengths.push_back(length);
    }
    // The same boundaries after many blocks, where the bit length needs more than one byte.
    for (size_t boundary : {55, 56, 63, 64, 119, 120, 128}) {
        for (size_t length : {boundary - 1, boundary, boundary + 1}) {
            lengths.push_back(8192 + length);
        }
    }
    // In order, neighbouring lanes end one byte apart; shuffled, in no pattern.
    ExpectSingleStreamTexts(MessagesOfLengths(lengths));
    std::shuffle(lengths.begin(), lengths.end(), std::mt19937(23));
    ExpectSingleStreamTexts(MessagesOfLengths(lengths));
}

TEST(MdLanes, RandomLengthsUpToOneMebibyte) {
    std::mt19937 generator(1321);
    std::vector<size_t> lengths = {size_t{1} << 20};
    while (lengths.size() < 12) {
        lengths.push_back(generator() % ((size_t{1} << 20) + 1));
    }
    ExpectSingleStreamTexts(MessagesOfLengths(lengths));
}

TEST(MdLanes, LanesEndingTogetherAndOneLaneOutlivingTheRest) {
    // All lanes end in the same block and take their next messages at once.
    ExpectSingleStreamTexts(MessagesOfLengths(std::vector<size_t>(40, 1000)));
    // A long message first runs on while the other lanes go through many short ones, then alone.
    std::vector<size_t> lengths = {300000};
    for (size_t i = 0; i < 50; ++i) {
        lengths.push_back(100 + 37 * i);
    }
    ExpectSingleStreamTexts(MessagesOfLengths(lengths));
    // Last, it starts when the other lanes are already part-way.
    std::rotate(lengths.begin(), lengths.begin() + 1, lengths.end());
    ExpectSingleStreamTexts(MessagesOfLengths(lengths));
}

TEST(MdLanes, PublishedVectorsOfRfc1320AndRfc1321) {
    const std::vector<std::string> messages = {
        "",
        "a",
        "abc",
        "message digest",
        "abcdefghijklmnopqrstuvwxyz",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
        "12345678901234567890123456789012345678901234567890123456789012345678901234567890"};
    const std::vector<std::string> md4 = {
        "31d6cfe0d16ae931b73c59d7e0c089c0", "bde52cb31de33e46245e05fbdbd6fb24",
        "a448017aaf21d8525fc10ae87aa6729d", "d9130a8164549fe818874806e1c7014b",
        "d79e1c308aa5bbcdeea8ed63df412da9", "043f8582f241db351ce627e153e7f0e4",
        "e33b4ddc9c38f2199c3e7b164fcc0536"};
    const std::vector<std::string> md5 = {
        "d41d8cd98f00b204e9800998ecf8427e", "0cc175b9c0f1b6a831c399e269772661",
        "900150983cd24fb0d6963f7d28e17f72", "f96b697d7cb7938d525a2f31aaf161d0",
        "c3fcd3d76192e4007dfb496cca67e13b", "d174ab98d277d9f5a5611c2c9f419d9f",
        "57edf4a22be3c955ac49da2e2107b67a"};
    for (MdLanePath path : SupportedPaths()) {
        SCOPED_TRACE(MdLanePathName(path));
        EXPECT_EQ(LaneTexts(MdAlgorithm::kMd4, path, MdLaneWidth(path), messages), md4);
        EXPECT_EQ(LaneTexts(MdAlgorithm::kMd5, path, MdLaneWidth(path), messages), md5);
    }
}

TEST(MdLanePaths, ARequestNarrowsThePathButNeverPicksAMissingOne) {
    const MdLanePath best = MdLanePathFor(nullptr);
    EXPECT_EQ(best, SupportedPaths().back());
    EXPECT_EQ(MdLanePathFor("no such path"), best);
    EXPECT_EQ(MdLanePathFor("scalar"), MdLanePath::kScalar);
    EXPECT_EQ(MdLanePathFor("avx2"),
              MdLanePathSupported(MdLanePath::kAvx2) ? MdLanePath::kAvx2 : MdLanePath::kScalar);
    EXPECT_EQ(MdLanePathFor("avx512"), best);
    EXPECT_TRUE(MdLanePathSupported(SelectedMdLanePath()));
}

} // namespace
} // namespace mirelon
