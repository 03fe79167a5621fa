#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace mirelon {

// Unaligned loads and stores in a fixed byte order; memcpy compiles to a single move.

inline uint16_t Load16LE(const uint8_t* bytes) {
    uint16_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap16(value);
    }
    return value;
}

inline uint32_t Load32LE(const uint8_t* bytes) {
    uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap32(value);
    }
    return value;
}

inline uint32_t Load32BE(const uint8_t* bytes) {
    uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little) {
        value = __builtin_bswap32(value);
    }
    return value;
}

inline uint64_t Load64LE(const uint8_t* bytes) {
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap64(value);
    }
    return value;
}

inline uint64_t Load64BE(const uint8_t* bytes) {
    uint64_t value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little) {
        value = __builtin_bswap64(value);
    }
    return value;
}

inline void Store32LE(uint8_t* bytes, uint32_t value) {
    if constexpr (std::endian::native == std::endian::big) {
        value = __builtin_bswap32(value);
    }
    std::memcpy(bytes, &value, sizeof value);
}

inline void Store32BE(uint8_t* bytes, uint32_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        value = __builtin_bswap32(value);
    }
    std::memcpy(bytes, &value, sizeof value);
}

inline void Store64BE(uint8_t* bytes, uint64_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        value = __builtin_bswap64(value);
    }
    std::memcpy(bytes, &value, sizeof value);
}

} // namespace mirelon
