// The method table, the context protocol and its result codes, and feeding in pieces.
#include "hash/hash_service.h"
#include "tests/hash/hash_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace mirelon {
namespace {

using test::HashText;

TEST(HashMethodTable, SelectableMethodsComeFirstInListOrder) {
    const char* expected[] = {"MD2", "MD4", "MD5", "CRC32", "CRC32B", "ADLER32"};
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(HashMethodName(kHashMethodFirst + i), nullptr);
        EXPECT_STREQ(HashMethodName(kHashMethodFirst + i), expected[i]);
    }
    EXPECT_EQ(kHashMethodFirst + kSelectableHashMethodCount - 1, 268);
}

TEST(HashMethodTable, NamesLeadBackToTheirIds) {
    EXPECT_EQ(HashMethodByName("md5"), 259);
    EXPECT_EQ(HashMethodByName("Crc32b"), 261);
    EXPECT_EQ(HashMethodByName("SHA384"), 271);
    for (int32_t method : test::RegisteredMethods()) {
        EXPECT_EQ(HashMethodByName(HashMethodName(method)), method);
    }
}

TEST(HashMethodTable, UnknownIdsAndNames) {
    for (int32_t method : {0, -1, 256, 278, 100000}) {
        EXPECT_EQ(HashMethodName(method), nullptr);
        EXPECT_EQ(HashTextLength(method), 0);
    }
    EXPECT_EQ(HashMethodByName(""), 0);
    EXPECT_EQ(HashMethodByName("MD"), 0);
    EXPECT_EQ(HashMethodByName("MD55"), 0);
    EXPECT_EQ(HashMethodByName("SHA-1"), 0);
}

TEST(HashContextProtocol, ResultCodes) {
    EXPECT_EQ(HashInit(nullptr, 259), 2);
    EXPECT_EQ(HashUpdate(nullptr, "a", 1), 2);
    std::string text = "unchanged";
    EXPECT_EQ(HashFinal(nullptr, text), 2);

    HashContext context;
    EXPECT_EQ(HashInit(&context, 256), 1);
    EXPECT_EQ(HashInit(&context, 278), 1);
    EXPECT_EQ(context.state, nullptr);
    EXPECT_EQ(HashUpdate(&context, "a", 1), 3);
    EXPECT_EQ(HashFinal(&context, text), 3);
    EXPECT_EQ(text, "unchanged");
}

TEST(HashContextProtocol, FinalClosesTheContextForReuse) {
    HashContext context;
    ASSERT_EQ(HashInit(&context, 259), 0);
    EXPECT_EQ(context.method, 259);
    ASSERT_EQ(HashUpdate(&context, "abc", 3), 0);
    std::string text;
    ASSERT_EQ(HashFinal(&context, text), 0);
    EXPECT_EQ(text, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(context.state, nullptr);
    EXPECT_EQ(HashUpdate(&context, "abc", 3), 3);

    ASSERT_EQ(HashInit(&context, 261), 0);
    ASSERT_EQ(HashUpdate(&context, "abc", 3), 0);
    ASSERT_EQ(HashFinal(&context, text), 0);
    EXPECT_EQ(text, "c2412435");
}

TEST(HashContextProtocol, InitOnAnOpenContextStartsAfresh) {
    HashContext context;
    ASSERT_EQ(HashInit(&context, 259), 0);
    ASSERT_EQ(HashUpdate(&context, "xyz", 3), 0);
    ASSERT_EQ(HashInit(&context, 259), 0);
    ASSERT_EQ(HashUpdate(&context, "abc", 3), 0);
    std::string text;
    ASSERT_EQ(HashFinal(&context, text), 0);
    EXPECT_EQ(text, "900150983cd24fb0d6963f7d28e17f72");
}

TEST(HashContextProtocol, MethodChangedAfterInitIsRefusedNotMisread) {
    HashContext context;
    ASSERT_EQ(HashInit(&context, 257), 0);
    context.method = 272;
    EXPECT_EQ(HashUpdate(&context, "abc", 3), 1);
    std::string text;
    EXPECT_EQ(HashFinal(&context, text), 1);
    EXPECT_TRUE(text.empty());
}

TEST(HashContextProtocol, EmptyUpdatesChangeNothing) {
    HashContext context;
    ASSERT_EQ(HashInit(&context, 259), 0);
    EXPECT_EQ(HashUpdate(&context, nullptr, 0), 0);
    ASSERT_EQ(HashUpdate(&context, "abc", 3), 0);
    EXPECT_EQ(HashUpdate(&context, "", 0), 0);
    std::string text;
    ASSERT_EQ(HashFinal(&context, text), 0);
    EXPECT_EQ(text, "900150983cd24fb0d6963f7d28e17f72");
}

TEST(HashPieces, SplitAroundBlockBoundariesGivesTheWholeText) {
    const std::string message = test::RandomBytes(1000, 3);
    for (int32_t method : test::RegisteredMethods()) {
        const std::string whole = HashText(method, message);
        for (size_t split : {1u, 15u, 16u, 17u, 55u, 56u, 63u, 64u, 65u, 111u, 112u, 117u, 118u,
                             127u, 128u, 129u, 999u}) {
            HashContext context;
            ASSERT_EQ(HashInit(&context, method), 0);
            ASSERT_EQ(HashUpdate(&context, message.data(), static_cast<uint32_t>(split)), 0);
            ASSERT_EQ(HashUpdate(&context, message.data() + split,
                                 static_cast<uint32_t>(message.size() - split)),
                      0);
            std::string text;
            ASSERT_EQ(HashFinal(&context, text), 0);
            EXPECT_EQ(text, whole) << HashMethodName(method) << " split at " << split;
        }
    }
}

TEST(HashPieces, AnyChunkSizeGivesTheWholeText) {
    const std::string message = test::RandomBytes(10000, 5);
    for (int32_t method : test::RegisteredMethods()) {
        const std::string whole = HashText(method, message);
        for (size_t chunk : {1u, 7u, 63u, 64u, 65u, 127u, 128u, 129u, 4096u}) {
            EXPECT_EQ(HashText(method, message, chunk), whole)
                << HashMethodName(method) << " in chunks of " << chunk;
        }
    }
}

TEST(HashText, ToHexKeepsLeadingZerosAndCutsToTheDigits) {
    EXPECT_EQ(ToHex(8, 0x1), "00000001");
    EXPECT_EQ(ToHex(2, 0xABC), "bc");
    EXPECT_EQ(ToHex(16, 0xFEDCBA9876543210u), "fedcba9876543210");
    EXPECT_EQ(ToHex(20, 0xFFFFFFFFFFFFFFFFu), "0000ffffffffffffffff");
    EXPECT_EQ(ToHex(0, 5), "");
    EXPECT_EQ(ToHex(-3, 5), "");
}

} // namespace
} // namespace mirelon
