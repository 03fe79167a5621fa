// Feeds arbitrary bytes to every registered hash method, once whole and once in pieces whose
// sizes come from the input itself, and checks that both give the same checksum text of the
// table's length. The CRCs and Adler-32 are also checked against their bit-by-bit and
// byte-by-byte definitions.
#include "hash/adler32.h"
#include "hash/crc32.h"
#include "hash/hash_service.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace mirelon;

void Check(bool condition, const char* what, int32_t method) {
    if (!condition) {
        std::fprintf(stderr, "%s: %s\n", HashMethodName(method) ? HashMethodName(method) : "?",
                     what);
        std::abort();
    }
}

std::string Whole(int32_t method, const uint8_t* data, size_t size) {
    HashContext context;
    HashInit(&context, method);
    HashUpdate(&context, data, static_cast<uint32_t>(size));
    std::string text;
    HashFinal(&context, text);
    return text;
}

// Piece sizes cycle through the first bytes of the input, scaled up now and then so that pieces
// larger than a block occur too.
std::string InPieces(int32_t method, const uint8_t* data, size_t size) {
    HashContext context;
    HashInit(&context, method);
    const size_t sizes = size < 8 ? size : 8;
    size_t done = 0;
    for (size_t i = 0; done < size; ++i) {
        size_t piece = sizes == 0 ? size : size_t{data[i % sizes]} + 1;
        if (i % 3 == 2) {
            piece *= 5;
        }
        if (piece > size - done) {
            piece = size - done;
        }
        HashUpdate(&context, data + done, static_cast<uint32_t>(piece));
        done += piece;
    }
    std::string text;
    HashFinal(&context, text);
    return text;
}

uint32_t Crc32bByDefinition(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

uint32_t Crc32ByDefinition(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= static_cast<uint32_t>(data[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return ~crc;
}

uint32_t Adler32ByDefinition(const uint8_t* data, size_t size) {
    uint32_t s1 = 1, s2 = 0;
    for (size_t i = 0; i < size; ++i) {
        s1 = (s1 + data[i]) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    return (s2 << 16) | s1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (int32_t method = kHashMethodFirst; method <= kHashMethodLast; ++method) {
        if (HashMethodName(method) == nullptr) {
            continue;
        }
        const std::string whole = Whole(method, data, size);
        Check(whole.size() == static_cast<size_t>(HashTextLength(method)), "text length", method);
        Check(whole == InPieces(method, data, size), "pieces differ from whole", method);
    }
    Check(Whole(260, data, size) == ToHex(8, __builtin_bswap32(Crc32ByDefinition(data, size))),
          "definition", 260);
    Check(Whole(261, data, size) == ToHex(8, __builtin_bswap32(Crc32bByDefinition(data, size))),
          "definition", 261);
    Check(Whole(262, data, size) == ToHex(8, Adler32ByDefinition(data, size)), "definition", 262);
    return 0;
}
