// GOST, HAVAL, Tiger and RIPEMD as the checksum service presents them.
#include "hash/hash_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace mirelon {
namespace {

struct Expected {
    int32_t method;
    const char* name;
    const char* empty;
    const char* abc;
};

const Expected kExpected[] = {
    {263, "GOST", "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d",
     "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d"},
    {264, "HAVAL128", "c68f39913f901f3ddf44c707357a7d70", "9e40ed883fb63e985d299b40cda2b8f2"},
    {265, "HAVAL160", "d353c3ae22a25401d257643836d7231a9a95f953",
     "b21e876c4d391e2a897661149d83576b5530a089"},
    {266, "HAVAL192", "e9c48d7903eaf2a91c5b350151efcb175c0fc82de2289a4e",
     "a7b14c9ef3092319b0e75e3b20b957d180bf20745629e8de"},
    {267, "HAVAL224", "c5aae9d47bffcaaf84a8c6e7ccacd60a0dd1932be7b1a192b9214b6d",
     "5bc955220ba2346a948d2848eca37bdd5eca6ecca7b594bd32923fab"},
    {268, "HAVAL256", "4f6938531f0bc8991f62da7bbd6f7de3fad44562b8c6f4ebf146d5b4e46f7c17",
     "8699f1e3384d05b2a84b032693e2b6f46df85a13a50d93808d6874bb8fb9e86c"},
    {273, "TIGER128", "24f0130c63ac933216166e76b1bb925f", "f258c1e88414ab2a527ab541ffc5b8bf"},
    {274, "TIGER160", "24f0130c63ac933216166e76b1bb925ff373de2d",
     "f258c1e88414ab2a527ab541ffc5b8bf935f7b95"},
    {275, "TIGER192", "24f0130c63ac933216166e76b1bb925ff373de2d49584e7a",
     "f258c1e88414ab2a527ab541ffc5b8bf935f7b951c132951"},
    {276, "RIPEMD128", "cdf26213a150dc3ecb610f18f6b38b46", "c14a12199c66e4ba84636b0f69144c77"},
    {277, "RIPEMD160", "9c1185a5c5e9fc54612808977ee8f548b2258d31",
     "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
};

// The checksum text of `text` fed in pieces of at most `chunk` bytes.
std::string ChecksumText(int32_t method, const std::string& text, size_t chunk) {
    HashContext context;
    EXPECT_EQ(HashInit(&context, method), 0);
    for (size_t start = 0; start < text.size(); start += chunk) {
        const size_t count = std::min(chunk, text.size() - start);
        EXPECT_EQ(HashUpdate(&context, text.data() + start, static_cast<uint32_t>(count)), 0);
    }
    std::string result;
    EXPECT_EQ(HashFinal(&context, result), 0);
    return result;
}

TEST(ExtraChecksumTexts, PublishedValuesAtTheTableLengths) {
    for (const Expected& expected : kExpected) {
        SCOPED_TRACE(expected.name);
        const std::string empty = ChecksumText(expected.method, "", 1);
        const std::string abc = ChecksumText(expected.method, "abc", 3);
        EXPECT_EQ(empty, expected.empty);
        EXPECT_EQ(abc, expected.abc);
        EXPECT_EQ(static_cast<int>(abc.size()), HashTextLength(expected.method));
        EXPECT_EQ(abc.find_first_not_of("0123456789abcdef"), std::string::npos);
    }
    EXPECT_EQ(HashTextLength(263), 64);
    EXPECT_EQ(HashTextLength(264), 32);
    EXPECT_EQ(HashTextLength(267), 56);
    EXPECT_EQ(HashTextLength(274), 40);
    EXPECT_EQ(HashTextLength(275), 48);
    EXPECT_EQ(HashTextLength(276), 32);
    EXPECT_EQ(HashTextLength(277), 40);
}

TEST(ExtraChecksumTexts, NamesAndPassCounts) {
    for (const Expected& expected : kExpected) {
        ASSERT_NE(HashMethodName(expected.method), nullptr);
        EXPECT_STREQ(HashMethodName(expected.method), expected.name);
        EXPECT_EQ(HashMethodByName(expected.name), expected.method);

        HashContext context;
        ASSERT_EQ(HashInit(&context, expected.method), 0);
        const bool multiPass = (expected.method >= 264 && expected.method <= 268) ||
                               (expected.method >= 273 && expected.method <= 275);
        if (multiPass) {
            EXPECT_EQ(context.passes, 3) << expected.name;
        }
    }
}

TEST(ExtraChecksumTexts, ChunkSizesDoNotChangeTheText) {
    std::string message;
    for (int i = 0; i < 10000; ++i) {
        message += static_cast<char>(i * 7 + i / 256);
    }
    for (const Expected& expected : kExpected) {
        const std::string whole = ChecksumText(expected.method, message, message.size());
        for (size_t chunk : {1, 31, 32, 33, 63, 64, 65, 117, 118, 128, 4096}) {
            EXPECT_EQ(ChecksumText(expected.method, message, chunk), whole)
                << expected.name << " in chunks of " << chunk;
        }
    }
}

} // namespace
} // namespace mirelon
