// The table-driven CRCs and the batched Adler-32 against their bit-by-bit and byte-by-byte
// definitions, over lengths and alignments that exercise every tail path.
#include "hash/adler32.h"
#include "hash/crc32.h"
#include "hash/hash_service.h"
#include "tests/hash/hash_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace mirelon {
namespace {

uint32_t Crc32ByDefinition(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= static_cast<uint32_t>(byte) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return ~crc;
}

uint32_t Crc32bByDefinition(std::string_view bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

// RFC 1950, reducing after every byte.
uint32_t Adler32ByDefinition(std::string_view bytes) {
    uint32_t s1 = 1, s2 = 0;
    for (unsigned char byte : bytes) {
        s1 += byte;
        if (s1 >= 65521) {
            s1 -= 65521;
        }
        s2 += s1;
        if (s2 >= 65521) {
            s2 -= 65521;
        }
    }
    return (s2 << 16) | s1;
}

uint32_t Register(void (*init)(CrcState&), void (*update)(CrcState&, const uint8_t*, size_t),
                  std::string_view bytes) {
    CrcState state;
    init(state);
    update(state, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return state.value;
}

TEST(ChecksumDefinition, CrcsMatchTheBitwiseDefinitionAtEveryLengthAndAlignment) {
    const std::string data = test::RandomBytes(300, 7);
    for (size_t offset = 0; offset < 8; ++offset) {
        for (size_t length = 0; offset + length <= 150; ++length) {
            const std::string_view bytes(data.data() + offset, length);
            ASSERT_EQ(~Register(Crc32Init, Crc32Update, bytes), Crc32ByDefinition(bytes))
                << "offset " << offset << " length " << length;
            ASSERT_EQ(~Register(Crc32Init, Crc32bUpdate, bytes), Crc32bByDefinition(bytes))
                << "offset " << offset << " length " << length;
        }
    }
}

TEST(ChecksumDefinition, Adler32MatchesPerByteReductionAcrossRunBoundaries) {
    const std::string random = test::RandomBytes(3 * 5552 + 100, 11);
    const std::string ones(3 * 5552 + 100, '\xFF');
    for (size_t length :
         {0u, 1u, 15u, 16u, 17u, 5551u, 5552u, 5553u, 11104u, 11121u, 3u * 5552u + 100u}) {
        for (const std::string* data : {&random, &ones}) {
            const std::string_view bytes(data->data(), length);
            ASSERT_EQ(Register(Adler32Init, Adler32Update, bytes), Adler32ByDefinition(bytes))
                << "length " << length;
        }
    }
}

TEST(ChecksumDefinition, Adler32Of5552BytesOfFFIsTheClosedFormSum) {
    // s1 = 1 + 255n and s2 = n + 255n(n+1)/2, both modulo 65521.
    const uint64_t n = 5552;
    const uint64_t s1 = (1 + 255 * n) % 65521;
    const uint64_t s2 = (n + 255 * n * (n + 1) / 2) % 65521;
    EXPECT_EQ(test::HashText(262, std::string(5552, '\xFF')), ToHex(8, (s2 << 16) | s1));
}

} // namespace
} // namespace mirelon
