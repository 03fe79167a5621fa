// The folded CRCs against the table-driven ones, and the folding constants against the tables.
// Each path this processor has runs; the whole hash_test also runs once with the tables forced.
#include "hash/crc32.h"
#include "hash/crc32_fold_constants.h"
#include "tests/hash/hash_test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using UpdateOn = void (*)(CrcPath, CrcState&, const uint8_t*, size_t);

struct Crc {
    const char* name;
    UpdateOn update;
};

constexpr Crc kCrcs[] = {{"CRC32", Crc32UpdateOn}, {"CRC32B", Crc32bUpdateOn}};

const uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}

uint32_t RegisterAfter(const Crc& crc, CrcPath path, uint32_t start, const uint8_t* bytes,
                       size_t count) {
    CrcState state{start};
    crc.update(path, state, bytes, count);
    return state.value;
}

std::vector<CrcPath> FoldedPaths() {
    std::vector<CrcPath> paths;
    for (CrcPath path : {CrcPath::kFolded, CrcPath::kFoldedWide}) {
        if (CrcPathSupported(path)) {
            paths.push_back(path);
        }
    }
    return paths;
}

// The register that the tables give for `count` bytes at `offset`, against each folded path's:
// from the initial register, and as the second half of an update split at `split`.
void ExpectFoldedEqualsTable(const std::string& data, size_t offset, size_t count, size_t split) {
    const uint8_t* bytes = Bytes(data) + offset;
    for (const Crc& crc : kCrcs) {
        const uint32_t table = RegisterAfter(crc, CrcPath::kTable, 0xFFFFFFFFu, bytes, count);
        for (CrcPath path : FoldedPaths()) {
            ASSERT_EQ(RegisterAfter(crc, path, 0xFFFFFFFFu, bytes, count), table)
                << crc.name << " " << CrcPathName(path) << " offset " << offset << " length "
                << count;
            CrcState state;
            Crc32Init(state);
            crc.update(path, state, bytes, split);
            crc.update(path, state, bytes + split, count - split);
            ASSERT_EQ(state.value, table) << crc.name << " " << CrcPathName(path) << " offset "
                                          << offset << " length " << count << " split at " << split;
        }
    }
}

class CrcFold : public ::testing::Test {
protected:
    void SetUp() override {
        if (FoldedPaths().empty()) {
            GTEST_SKIP() << "this processor has no carry-less multiplication";
        }
    }
};

TEST_F(CrcFold, EqualsTheTablesAtEveryLengthUpTo1024AtEveryAlignment) {
    const std::string data = test::RandomBytes(1024 + 16, 3);
    std::mt19937 generator(5);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t count = 0; count <= 1024; ++count) {
            const size_t split = std::uniform_int_distribution<size_t>(0, count)(generator);
            ExpectFoldedEqualsTable(data, offset, count, split);
        }
    }
}

TEST_F(CrcFold, EqualsTheTablesAtRandomLengthsUpTo1MiB) {
    const std::string data = test::RandomBytes((1u << 20) + 16, 9);
    std::mt19937 generator(11);
    for (int round = 0; round < 64; ++round) {
        const size_t offset = round % 16;
        const size_t count = std::uniform_int_distribution<size_t>(1025, 1u << 20)(generator);
        const size_t split = std::uniform_int_distribution<size_t>(0, count)(generator);
        ExpectFoldedEqualsTable(data, offset, count, split);
    }
}

TEST_F(CrcFold, EqualsTheTablesOnBytesThatStressTheReduction) {
    // All ones and all zeros from every register: the fold's products and the Barrett step at
    // their widest and at nothing.
    for (char fill : {'\xFF', '\0', '\x80', '\x01'}) {
        const std::string data(4096 + 16, fill);
        for (size_t count : {64u, 80u, 128u, 192u, 255u, 256u, 336u, 4096u}) {
            for (const Crc& crc : kCrcs) {
                for (CrcPath path : FoldedPaths()) {
                    for (uint32_t start : {0u, 0xFFFFFFFFu, 0x80000001u}) {
                        EXPECT_EQ(RegisterAfter(crc, path, start, Bytes(data), count),
                                  RegisterAfter(crc, CrcPath::kTable, start, Bytes(data), count))
                            << crc.name << " " << CrcPathName(path) << " fill " << int(fill)
                            << " length " << count;
                    }
                }
            }
        }
    }
}

TEST(CrcPaths, PublishedCheckValuesOnEveryPath) {
    // "123456789", and repeated to a length that folds on every path.
    const std::string check = "123456789";
    std::string repeated;
    for (int i = 0; i < 100; ++i) {
        repeated += check;
    }
    for (CrcPath path : {CrcPath::kTable, CrcPath::kFolded, CrcPath::kFoldedWide}) {
        if (!CrcPathSupported(path)) {
            continue;
        }
        CrcState state;
        Crc32Init(state);
        Crc32UpdateOn(path, state, Bytes(check), check.size());
        EXPECT_EQ(CrcFinal(state), 0xFC891918u);
        Crc32Init(state);
        Crc32bUpdateOn(path, state, Bytes(check), check.size());
        EXPECT_EQ(CrcFinal(state), 0xCBF43926u);
    }
    EXPECT_EQ(test::HashText(260, check), "181989fc");
    EXPECT_EQ(test::HashText(261, check), "2639f4cb");
    // The public updates run on the selected path and agree with the tables.
    for (const Crc& crc : kCrcs) {
        EXPECT_EQ(
            RegisterAfter(crc, SelectedCrcPath(), 0xFFFFFFFFu, Bytes(repeated), repeated.size()),
            RegisterAfter(crc, CrcPath::kTable, 0xFFFFFFFFu, Bytes(repeated), repeated.size()))
            << crc.name;
    }
}

// x^n mod P by the MSB-first tables: from a zero register, the message x^(n-32) leaves
// x^(n-32) * x^32 mod P. The reflected tables give the same remainder with its bits reversed.
uint32_t PowerOfXByTables(unsigned n, bool reflected) {
    const unsigned degree = n - 32;
    std::string message(degree / 8 + 1, '\0');
    const unsigned bit = degree % 8;
    message[0] = static_cast<char>(reflected ? 0x80 >> bit : 1 << bit);
    CrcState state{0};
    (reflected ? Crc32bUpdateOn : Crc32UpdateOn)(CrcPath::kTable, state, Bytes(message),
                                                 message.size());
    return state.value;
}

uint64_t CarrylessProduct(uint64_t a, uint64_t b) {
    uint64_t product = 0;
    for (int bit = 0; bit < 64; ++bit) {
        if (b & (uint64_t{1} << bit)) {
            product ^= a << bit;
        }
    }
    return product;
}

TEST(CrcFoldConstants, AreThePowersOfXThatTheTablesGive) {
    using crc_fold::kMsbFirstFold;
    using crc_fold::kReflectedFold;
    // MSB-first: x^n mod P itself; reflected: x^(n-1) mod P bit-reversed, in the top 32 bits.
    struct Case {
        uint64_t msbFirst;
        uint64_t reflected;
        unsigned n;
    };
    const Case cases[] = {{kMsbFirstFold.by2048.low, kReflectedFold.by2048.high, 2048},
                          {kMsbFirstFold.by2048.high, kReflectedFold.by2048.low, 2112},
                          {kMsbFirstFold.by512.low, kReflectedFold.by512.high, 512},
                          {kMsbFirstFold.by512.high, kReflectedFold.by512.low, 576},
                          {kMsbFirstFold.by128.low, kReflectedFold.by128.high, 128},
                          {kMsbFirstFold.by128.high, kReflectedFold.by128.low, 192},
                          {kMsbFirstFold.by96, kReflectedFold.by96, 96},
                          {kMsbFirstFold.by64, kReflectedFold.by64, 64}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.msbFirst, PowerOfXByTables(c.n, false)) << "x^" << c.n;
        EXPECT_EQ(c.reflected, uint64_t{PowerOfXByTables(c.n - 1, true)} << 32) << "x^" << c.n;
    }
    // Barrett: mu * P = x^64 + (terms below x^32), and mu has degree 32.
    const uint64_t mu = kMsbFirstFold.barrett;
    EXPECT_EQ(mu >> 32, 1u);
    const uint64_t low = CarrylessProduct(mu & 0xFFFFFFFFu, crc_fold::kPolynomial);
    // x^32 * P contributes x^64 (beyond 64 bits) and x^32 * low(P); the rest must cancel it.
    EXPECT_EQ((low ^ ((crc_fold::kPolynomial & 0xFFFFFFFFu) << 32)) >> 32, 0u);
}

} // namespace
} // namespace mirelon
