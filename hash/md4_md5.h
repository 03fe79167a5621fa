#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// MD4 (RFC 1320) and MD5 (RFC 1321) share the state, the buffering and the padding; they differ
// only in the block transform handed to MdUpdate and MdFinal.
struct MdState {
    uint32_t A, B, C, D;
    uint32_t bitsLow, bitsHigh;
    uint8_t buffer[64];
};

// Runs `blockCount` consecutive 64-byte blocks through the compression function.
using MdTransform = void (*)(MdState& state, const uint8_t* blocks, size_t blockCount);

void Md4Transform(MdState& state, const uint8_t* blocks, size_t blockCount);
void Md5Transform(MdState& state, const uint8_t* blocks, size_t blockCount);

void MdInit(MdState& state);
void MdUpdate(MdState& state, const uint8_t* bytes, size_t count, MdTransform transform);
void MdFinal(MdState& state, MdTransform transform, uint8_t digest[16]);

} // namespace mirelon
