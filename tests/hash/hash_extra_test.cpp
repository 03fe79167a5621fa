#include "hash/gost.h"
#include "hash/haval.h"
#include "hash/ripemd.h"
#include "hash/tiger.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace mirelon {
namespace {

const uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string text;
    char digits[3];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof(digits), "%02x", bytes[i]);
        text += digits;
    }
    return text;
}

// Feeds `text` through `update` in pieces cut at the given offsets.
template <typename Update>
void FeedInPieces(const std::string& text, const std::vector<size_t>& cuts, Update update) {
    size_t start = 0;
    for (size_t cut : cuts) {
        update(Bytes(text) + start, cut - start);
        start = cut;
    }
    update(Bytes(text) + start, text.size() - start);
}

std::string Gost(const std::string& text, const std::vector<size_t>& cuts = {}) {
    GostState state;
    GostInit(state);
    FeedInPieces(text, cuts, [&](const uint8_t* b, size_t n) { GostUpdate(state, b, n); });
    uint8_t digest[32];
    GostFinal(state, digest);
    return Hex(digest, sizeof(digest));
}

std::string Haval(const std::string& text, int fptlen, int passes,
                  const std::vector<size_t>& cuts = {}) {
    HavalState state;
    HavalInit(state);
    FeedInPieces(text, cuts, [&](const uint8_t* b, size_t n) { HavalUpdate(state, b, n, passes); });
    uint8_t digest[32];
    HavalFinal(state, fptlen, passes, digest);
    return Hex(digest, fptlen / 8);
}

// The checksum-text form: each word as 16 hex digits, most significant first.
std::string Tiger(const std::string& text, const std::vector<size_t>& cuts = {}, int passes = 3) {
    TigerState state;
    TigerInit(state);
    FeedInPieces(text, cuts, [&](const uint8_t* b, size_t n) { TigerUpdate(state, b, n, passes); });
    uint64_t words[3];
    TigerFinal(state, passes, words);
    char digits[49];
    std::snprintf(
        digits, sizeof(digits), "%016llx%016llx%016llx", static_cast<unsigned long long>(words[0]),
        static_cast<unsigned long long>(words[1]), static_cast<unsigned long long>(words[2]));
    return digits;
}

// NESSIE lists Tiger digests as the little-endian bytes of each word.
std::string WordsFromNessie(const std::string& bytes) {
    std::string words;
    for (size_t word = 0; word < 3; ++word) {
        for (int b = 7; b >= 0; --b) {
            words += bytes.substr(16 * word + 2 * b, 2);
        }
    }
    return words;
}

std::string Ripemd128(const std::string& text, const std::vector<size_t>& cuts = {}) {
    Ripemd128State state;
    Ripemd128Init(state);
    FeedInPieces(text, cuts, [&](const uint8_t* b, size_t n) { Ripemd128Update(state, b, n); });
    uint8_t digest[16];
    Ripemd128Final(state, digest);
    return Hex(digest, sizeof(digest));
}

std::string Ripemd160(const std::string& text, const std::vector<size_t>& cuts = {}) {
    Ripemd160State state;
    Ripemd160Init(state);
    FeedInPieces(text, cuts, [&](const uint8_t* b, size_t n) { Ripemd160Update(state, b, n); });
    uint8_t digest[20];
    Ripemd160Final(state, digest);
    return Hex(digest, sizeof(digest));
}

std::string Digits(size_t length) {
    std::string text;
    while (text.size() < length) {
        text += static_cast<char>('0' + text.size() % 10);
    }
    return text;
}

const std::string kMillionA(1000000, 'a');
const std::string kAlphanumeric = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const std::string kEightyDigits = "1234567890123456789012345678901234567890"
                                  "1234567890123456789012345678901234567890";
const std::string kAbcdbcde = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";

// --- GOST R 34.11-94, test parameter set; the standard's own examples come first. ------------

TEST(Gost, PublishedDigests) {
    EXPECT_EQ(Gost("This is message, length=32 bytes"),
              "b1c466d37519b82e8319819ff32595e047a28cb6f83eff1c6916a815a637fffa");
    EXPECT_EQ(Gost("Suppose the original message has length = 50 bytes"),
              "471aba57a60a770d3a76130635c1fbea4ef14de51f78b4ae57dd893b62f55208");
    EXPECT_EQ(Gost(""), "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d");
    EXPECT_EQ(Gost("a"), "d42c539e367c66e9c88a801f6649349c21871b4344c6a573f849fdce62f314dd");
    EXPECT_EQ(Gost("abc"), "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d");
    EXPECT_EQ(Gost("message digest"),
              "ad4434ecb18f2c99b60cbe59ec3d2469582b65273f48de72db2fde16a4889a4d");
    EXPECT_EQ(Gost(std::string(128, 'U')),
              "53a3a3ed25180cef0c1d85a074273e551c25660a87062a52d926a9e8fe5733a4");
    EXPECT_EQ(Gost(kMillionA), "5c00ccc2734cdd3332d3d4749576e3c1a7dbaf0e7ea74e9fa602413c90a129fa");
}

TEST(Gost, PiecesAroundTheBlockBoundaryGiveTheSameDigest) {
    const std::string message = Digits(100);
    const std::string whole = Gost(message);
    for (size_t cut : {1, 31, 32, 33, 63, 64, 65}) {
        EXPECT_EQ(Gost(message, {cut}), whole) << "cut at " << cut;
    }
    EXPECT_EQ(Gost(message, {31, 32, 33, 64, 96}), whole);
}

TEST(Gost, LastWholeBlockWaitsForFinal) {
    const std::string message = Digits(64);
    GostState state;
    GostInit(state);
    GostUpdate(state, Bytes(message), 64);
    EXPECT_EQ(state.partialCount, 32u);
    EXPECT_EQ(state.length[0], 256u);
    EXPECT_EQ(Gost(message), Gost(message, {32}));
}

TEST(Gost, SumAndLengthCarryAcrossAllWords) {
    // Two blocks of 0xFF bytes sum to 2^257 - 2, which is 2^256 - 2 after wrapping.
    const std::string ones(65, '\xFF');
    GostState state;
    GostInit(state);
    GostUpdate(state, Bytes(ones), ones.size());
    EXPECT_EQ(state.sum[0], 0xFFFFFFFEu);
    for (int i = 1; i < 8; ++i) {
        EXPECT_EQ(state.sum[i], 0xFFFFFFFFu) << "word " << i;
    }

    // One more unit in the lowest word must ripple up to the top word.
    GostInit(state);
    for (int i = 0; i < 7; ++i) {
        state.sum[i] = 0xFFFFFFFF;
        state.length[i] = 0xFFFFFFFF;
    }
    state.length[0] = 0xFFFFFF00;
    uint8_t block[33] = {1};
    GostUpdate(state, block, sizeof(block));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(state.sum[i], 0u) << "word " << i;
        EXPECT_EQ(state.length[i], 0u) << "word " << i;
    }
    EXPECT_EQ(state.sum[7], 1u);
    EXPECT_EQ(state.length[7], 1u);
}

// --- HAVAL ---------------------------------------------------------------------------------

TEST(Haval, PublishedThreePassDigests) {
    EXPECT_EQ(Haval("", 128, 3), "c68f39913f901f3ddf44c707357a7d70");
    EXPECT_EQ(Haval("", 160, 3), "d353c3ae22a25401d257643836d7231a9a95f953");
    EXPECT_EQ(Haval("", 192, 3), "e9c48d7903eaf2a91c5b350151efcb175c0fc82de2289a4e");
    EXPECT_EQ(Haval("", 224, 3), "c5aae9d47bffcaaf84a8c6e7ccacd60a0dd1932be7b1a192b9214b6d");
    EXPECT_EQ(Haval("", 256, 3),
              "4f6938531f0bc8991f62da7bbd6f7de3fad44562b8c6f4ebf146d5b4e46f7c17");
    EXPECT_EQ(Haval("abc", 128, 3), "9e40ed883fb63e985d299b40cda2b8f2");
    EXPECT_EQ(Haval("abc", 160, 3), "b21e876c4d391e2a897661149d83576b5530a089");
    EXPECT_EQ(Haval("abc", 192, 3), "a7b14c9ef3092319b0e75e3b20b957d180bf20745629e8de");
    EXPECT_EQ(Haval("abc", 224, 3), "5bc955220ba2346a948d2848eca37bdd5eca6ecca7b594bd32923fab");
    EXPECT_EQ(Haval("abc", 256, 3),
              "8699f1e3384d05b2a84b032693e2b6f46df85a13a50d93808d6874bb8fb9e86c");
    EXPECT_EQ(Haval("a", 160, 3), "4da08f514a7275dbc4cece4a347385983983a830");
    EXPECT_EQ(Haval(kAlphanumeric, 128, 3), "de5eb3f7d9eb08fae7a07d68e3047ec6");
    // The tail just fits after 117 bytes; 118 bytes need one more block.
    EXPECT_EQ(Haval(Digits(117), 128, 3), "7c766f7ca98961b152550c528584e58a");
    EXPECT_EQ(Haval(Digits(118), 128, 3), "e096bbfa6992e39f3a76fee98c99e354");
}

TEST(Haval, PublishedFourAndFivePassDigests) {
    EXPECT_EQ(Haval("abc", 128, 4), "6f2132867c9648419adcd5013e532fa2");
    EXPECT_EQ(Haval("abc", 160, 4), "77aca22f5b12cc09010afc9c0797308638b1cb9b");
    EXPECT_EQ(Haval("abc", 192, 4), "7e29881ed05c915903dd5e24a8e81cde5d910142ae66207c");
    EXPECT_EQ(Haval("abc", 224, 4), "124c43d2ba4884599d013e8c872bfea4c88b0b6bf6303974cbe04e68");
    EXPECT_EQ(Haval("abc", 256, 4),
              "8f409f1bb6b30c5016fdce55f652642261575bedca0b9533f32f5455459142b5");
    EXPECT_EQ(Haval("", 128, 5), "184b8482a0c050dca54b59c7f05bf5dd");
    EXPECT_EQ(Haval("", 160, 5), "255158cfc1eed1a7be7c55ddd64d9790415b933b");
    EXPECT_EQ(Haval("", 192, 5), "4839d0626f95935e17ee2fc4509387bbe2cc46cb382ffe85");
    EXPECT_EQ(Haval("", 224, 5), "4a0513c032754f5582a758d35917ac9adf3854219b39e3ac77d1837e");
    EXPECT_EQ(Haval("", 256, 5),
              "be417bb4dd5cfb76c7126f4f8eeb1553a449039307b1a3cd451dbfdc0fbbe330");
    EXPECT_EQ(Haval("The quick brown fox jumps over the lazy dog", 256, 5),
              "b89c551cdfe2e06dbd4cea2be1bc7d557416c58ebb4d07cbc94e49f710c55be4");
}

TEST(Haval, PiecesAroundTheBlockBoundaryGiveTheSameDigest) {
    const std::string message = Digits(300);
    for (int passes = 3; passes <= 5; ++passes) {
        const std::string whole = Haval(message, 256, passes);
        for (size_t cut : {1, 117, 118, 127, 128, 129, 255, 256}) {
            EXPECT_EQ(Haval(message, 256, passes, {cut}), whole)
                << passes << " passes, cut at " << cut;
        }
        EXPECT_EQ(Haval(message, 256, passes, {117, 118, 128, 246}), whole);
    }
}

TEST(Haval, TailRecordsVersionPassesLengthAndBitCount) {
    HavalState state;
    HavalInit(state);
    const std::string message = Digits(300);
    HavalUpdate(state, Bytes(message), message.size(), 3);
    uint8_t tail[10];
    for (int fptlen : {128, 160, 192, 224, 256}) {
        HavalTail(state, fptlen, 3, tail);
        EXPECT_EQ(tail[0], 0x19) << fptlen;
        EXPECT_EQ(tail[1], fptlen / 4) << fptlen;
    }
    const uint8_t bitCount[8] = {0x60, 0x09, 0, 0, 0, 0, 0, 0}; // 2400 bits
    EXPECT_EQ(Hex(tail + 2, 8), Hex(bitCount, 8));
    HavalTail(state, 256, 5, tail);
    EXPECT_EQ(tail[0], 0x29);
}

TEST(Haval, PassesAreClampedAndOddLengthsWriteNothing) {
    EXPECT_EQ(Haval("abc", 256, 0), Haval("abc", 256, 3));
    EXPECT_EQ(Haval("abc", 256, 9), Haval("abc", 256, 5));

    HavalState state;
    HavalInit(state);
    uint8_t digest[32] = {};
    HavalFinal(state, 200, 3, digest);
    EXPECT_EQ(Hex(digest, sizeof(digest)), std::string(64, '0'));
}

// --- Tiger ---------------------------------------------------------------------------------

TEST(Tiger, PublishedDigests) {
    // As printed in the authors' paper, most significant digit of each word first.
    EXPECT_EQ(Tiger(""), "24f0130c63ac933216166e76b1bb925ff373de2d49584e7a");
    EXPECT_EQ(Tiger("abc"), "f258c1e88414ab2a527ab541ffc5b8bf935f7b951c132951");
    EXPECT_EQ(Tiger("Tiger"), "9f00f599072300dd276abb38c8eb6dec37790c116f9d2bdf");
    // NESSIE vectors.
    EXPECT_EQ(Tiger("a"), WordsFromNessie("77befbef2e7ef8ab2ec8f93bf587a7fc613e247f5f247809"));
    EXPECT_EQ(Tiger("message digest"),
              WordsFromNessie("d981f8cb78201a950dcf3048751e441c517fca1aa55a29f6"));
    EXPECT_EQ(Tiger(kAbcdbcde),
              WordsFromNessie("0f7bf9a19b9c58f2b7610df7e84f0ac3a71c631e7b53f78e"));
    EXPECT_EQ(Tiger(kAlphanumeric),
              WordsFromNessie("8dcea680a17583ee502ba38a3c368651890ffbccdc49a8cc"));
    EXPECT_EQ(Tiger(kEightyDigits),
              WordsFromNessie("1c14795529fd9f207a958f84c52f11e887fa0cabdfd91bfd"));
    EXPECT_EQ(Tiger(kAlphanumeric + "+-"),
              WordsFromNessie("f71c8583902afb879edfe610f82c0d4786a3a534504486b5"));
    EXPECT_EQ(Tiger(kMillionA),
              WordsFromNessie("6db0e2729cbead93d715c6a7d36302e9b3cee0d2bc314b41"));
}

TEST(Tiger, PiecesAndPassCounts) {
    const std::string message = Digits(150);
    const std::string whole = Tiger(message);
    for (size_t cut : {1, 55, 56, 63, 64, 65, 128}) {
        EXPECT_EQ(Tiger(message, {cut}), whole) << "cut at " << cut;
    }
    EXPECT_EQ(Tiger(message, {}, 1), whole);
    EXPECT_NE(Tiger(message, {}, 4), whole);
    EXPECT_EQ(Tiger(message, {}, 7), Tiger(message, {}, 5));
}

// --- RIPEMD --------------------------------------------------------------------------------

TEST(Ripemd, Published128BitDigests) {
    EXPECT_EQ(Ripemd128(""), "cdf26213a150dc3ecb610f18f6b38b46");
    EXPECT_EQ(Ripemd128("a"), "86be7afa339d0fc7cfc785e72f578d33");
    EXPECT_EQ(Ripemd128("abc"), "c14a12199c66e4ba84636b0f69144c77");
    EXPECT_EQ(Ripemd128("message digest"), "9e327b3d6e523062afc1132d7df9d1b8");
    EXPECT_EQ(Ripemd128("abcdefghijklmnopqrstuvwxyz"), "fd2aa607f71dc8f510714922b371834e");
    EXPECT_EQ(Ripemd128(kAbcdbcde), "a1aa0689d0fafa2ddc22e88b49133a06");
    EXPECT_EQ(Ripemd128(kAlphanumeric), "d1e959eb179c911faea4624c60c5c702");
    EXPECT_EQ(Ripemd128(kEightyDigits), "3f45ef194732c2dbb2c4a2c769795fa3");
    EXPECT_EQ(Ripemd128(kMillionA), "4a7f5723f954eba1216c9d8f6320431f");
}

TEST(Ripemd, Published160BitDigests) {
    EXPECT_EQ(Ripemd160(""), "9c1185a5c5e9fc54612808977ee8f548b2258d31");
    EXPECT_EQ(Ripemd160("a"), "0bdc9d2d256b3ee9daae347be6f4dc835a467ffe");
    EXPECT_EQ(Ripemd160("abc"), "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc");
    EXPECT_EQ(Ripemd160("message digest"), "5d0689ef49d2fae572b881b123a85ffa21595f36");
    EXPECT_EQ(Ripemd160("abcdefghijklmnopqrstuvwxyz"), "f71c27109c692c1b56bbdceb5b9d2865b3708dbc");
    EXPECT_EQ(Ripemd160(kAbcdbcde), "12a053384a9c0c88e405a06c27dcf49ada62eb2b");
    EXPECT_EQ(Ripemd160(kAlphanumeric), "b0e20b6e3116640286ed3a87a5713079b21f5189");
    EXPECT_EQ(Ripemd160(kEightyDigits), "9b752e45573d4b39f4dbd3323cab82bf63326bfb");
    EXPECT_EQ(Ripemd160(kMillionA), "52783243c1697bdbe16d37f97f68f08325dc1528");
}

TEST(Ripemd, PiecesAroundTheBlockBoundaryGiveTheSameDigest) {
    const std::string message = Digits(150);
    for (size_t cut : {1, 55, 56, 63, 64, 65, 128}) {
        EXPECT_EQ(Ripemd128(message, {cut}), Ripemd128(message)) << "cut at " << cut;
        EXPECT_EQ(Ripemd160(message, {cut}), Ripemd160(message)) << "cut at " << cut;
    }
}

} // namespace
} // namespace mirelon
