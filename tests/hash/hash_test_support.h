#pragma once

#include "hash/hash_service.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon::test {

// The checksum text of `bytes` fed in pieces of at most `chunk` bytes (all at once when 0);
// "<code N>" when a step fails.
inline std::string HashText(int32_t method, std::string_view bytes, size_t chunk = 0) {
    HashContext context;
    int code = HashInit(&context, method);
    if (code != kHashOk) {
        return "<code " + std::to_string(code) + ">";
    }
    const size_t step = chunk == 0 ? bytes.size() : chunk;
    for (size_t done = 0; done < bytes.size() && code == kHashOk; done += step) {
        const std::string_view piece = bytes.substr(done, step);
        code = HashUpdate(&context, piece.data(), static_cast<uint32_t>(piece.size()));
    }
    std::string text;
    if (code == kHashOk) {
        code = HashFinal(&context, text);
    }
    return code == kHashOk ? text : "<code " + std::to_string(code) + ">";
}

inline std::string RandomBytes(size_t count, uint32_t seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(generator() & 0xFF);
    }
    return bytes;
}

// The methods registered in the service's table.
inline std::vector<int32_t> RegisteredMethods() {
    std::vector<int32_t> methods;
    for (int32_t method = kHashMethodFirst; method <= kHashMethodLast; ++method) {
        if (HashMethodName(method) != nullptr) {
            methods.push_back(method);
        }
    }
    return methods;
}

} // namespace mirelon::test
