#include "hash/haval.h"

#include <cstring>

namespace mirelon {

namespace {

// The first 136 words of the fraction of pi: the initial fingerprint is words 0 to 7 and
// pass k (2 to 5) adds words 8 + 32 (k - 2) onwards, one per step.
constexpr uint32_t kPiFraction[8 + 4 * 32] = {
    0x243F6A88, 0x85A308D3, 0x13198A2E, 0x03707344, 0xA4093822, 0x299F31D0, 0x082EFA98, 0xEC4E6C89,
    0x452821E6, 0x38D01377, 0xBE5466CF, 0x34E90C6C, 0xC0AC29B7, 0xC97C50DD, 0x3F84D5B5, 0xB5470917,
    0x9216D5D9, 0x8979FB1B, 0xD1310BA6, 0x98DFB5AC, 0x2FFD72DB, 0xD01ADFB7, 0xB8E1AFED, 0x6A267E96,
    0xBA7C9045, 0xF12C7F99, 0x24A19947, 0xB3916CF7, 0x0801F2E2, 0x858EFC16, 0x636920D8, 0x71574E69,
    0xA458FEA3, 0xF4933D7E, 0x0D95748F, 0x728EB658, 0x718BCD58, 0x82154AEE, 0x7B54A41D, 0xC25A59B5,
    0x9C30D539, 0x2AF26013, 0xC5D1B023, 0x286085F0, 0xCA417918, 0xB8DB38EF, 0x8E79DCB0, 0x603A180E,
    0x6C9E0E8B, 0xB01E8A3E, 0xD71577C1, 0xBD314B27, 0x78AF2FDA, 0x55605C60, 0xE65525F3, 0xAA55AB94,
    0x57489862, 0x63E81440, 0x55CA396A, 0x2AAB10B6, 0xB4CC5C34, 0x1141E8CE, 0xA15486AF, 0x7C72E993,
    0xB3EE1411, 0x636FBC2A, 0x2BA9C55D, 0x741831F6, 0xCE5C3E16, 0x9B87931E, 0xAFD6BA33, 0x6C24CF5C,
    0x7A325381, 0x28958677, 0x3B8F4898, 0x6B4BB9AF, 0xC4BFE81B, 0x66282193, 0x61D809CC, 0xFB21A991,
    0x487CAC60, 0x5DEC8032, 0xEF845D5D, 0xE98575B1, 0xDC262302, 0xEB651B88, 0x23893E81, 0xD396ACC5,
    0x0F6D6FF3, 0x83F44239, 0x2E0B4482, 0xA4842004, 0x69C8F04A, 0x9E1F9B5E, 0x21C66842, 0xF6E96C9A,
    0x670C9C61, 0xABD388F0, 0x6A51A0D2, 0xD8542F68, 0x960FA728, 0xAB5133A3, 0x6EEF0B6C, 0x137A3BE4,
    0xBA3BF050, 0x7EFB2A98, 0xA1F1651D, 0x39AF0176, 0x66CA593E, 0x82430E88, 0x8CEE8619, 0x456F9FB4,
    0x7D84A5C3, 0x3B8B5EBE, 0xE06F75D8, 0x85C12073, 0x401A449F, 0x56C16AA6, 0x4ED3AA62, 0x363F7706,
    0x1BFEDF72, 0x429B023D, 0x37D0D724, 0xD00A1248, 0xDB0FEAD3, 0x49F1C09B, 0x075372C9, 0x80991B7B,
    0x25D479D8, 0xF6E8DEF7, 0xE3FE501A, 0xB6794C3B, 0x976CE0BD, 0x04C006BA, 0xC1A94FB6, 0x409F60C4,
};

// --- The transform ---------------------------------------------------------------------------

constexpr uint8_t kWordOrder[5][32] = {
    {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
     16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
    {5,  14, 26, 18, 11, 28, 7,  16, 0,  23, 20, 22, 1, 10, 4,  8,
     30, 3,  21, 9,  17, 24, 29, 6,  19, 12, 15, 13, 2, 25, 31, 27},
    {19, 9,  4, 20, 28, 17, 8,  22, 29, 14, 25, 12, 24, 30, 16, 26,
     31, 15, 7, 3,  1,  0,  18, 27, 13, 6,  21, 10, 23, 11, 5,  2},
    {24, 4,  0,  14, 2, 7,  28, 23, 26, 6,  30, 20, 18, 25, 19, 3,
     22, 11, 31, 21, 8, 27, 12, 9,  1,  29, 5,  15, 17, 10, 16, 13},
    {27, 3, 21, 26, 17, 11, 20, 29, 19, 0,  12, 7,  13, 8, 31, 10,
     5,  9, 14, 30, 18, 6,  28, 24, 2,  23, 16, 22, 4,  1, 25, 15},
};

// The input permutations phi: for each argument of F (x6 down to x0), the register that feeds
// it. Row p serves pass p + 1 of a hash with 3, 4 or 5 passes.
constexpr uint8_t kPhi3[3][7] = {
    {1, 0, 3, 5, 6, 2, 4}, {4, 2, 1, 0, 5, 3, 6}, {6, 1, 2, 3, 4, 5, 0}};
constexpr uint8_t kPhi4[4][7] = {
    {2, 6, 1, 4, 5, 3, 0}, {3, 5, 2, 0, 1, 6, 4}, {1, 4, 3, 6, 0, 2, 5}, {6, 4, 0, 5, 2, 1, 3}};
constexpr uint8_t kPhi5[5][7] = {{3, 4, 1, 0, 5, 2, 6},
                                 {6, 2, 1, 0, 3, 4, 5},
                                 {2, 6, 0, 4, 3, 1, 5},
                                 {1, 5, 3, 2, 0, 4, 6},
                                 {2, 5, 0, 6, 4, 3, 1}};

template <int Passes> constexpr const uint8_t* Phi(int pass) {
    if constexpr (Passes == 3) {
        return kPhi3[pass];
    } else if constexpr (Passes == 4) {
        return kPhi4[pass];
    } else {
        return kPhi5[pass];
    }
}

// The five Boolean functions, factored from their algebraic normal forms.
template <int Pass>
inline uint32_t F(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                  uint32_t x0) {
    if constexpr (Pass == 0) { // x1x4 ^ x2x5 ^ x3x6 ^ x0x1 ^ x0
        return (x1 & (x0 ^ x4)) ^ (x2 & x5) ^ (x3 & x6) ^ x0;
    } else if constexpr (Pass == 1) {
        // x1x2x3 ^ x2x4x5 ^ x1x2 ^ x1x4 ^ x2x6 ^ x3x5 ^ x4x5 ^ x0x2 ^ x0
        return (x2 & ((x1 & ~x3) ^ (x4 & x5) ^ x6 ^ x0)) ^ (x4 & (x1 ^ x5)) ^ (x3 & x5) ^ x0;
    } else if constexpr (Pass == 2) { // x1x2x3 ^ x1x4 ^ x2x5 ^ x3x6 ^ x0x3 ^ x0
        return (x3 & ((x1 & x2) ^ x6 ^ x0)) ^ (x1 & x4) ^ (x2 & x5) ^ x0;
    } else if constexpr (Pass == 3) {
        // x1x2x3 ^ x2x4x5 ^ x3x4x6 ^ x1x4 ^ x2x6 ^ x3x4 ^ x3x5 ^ x3x6 ^ x4x5 ^ x4x6 ^ x0x4 ^ x0
        return (x4 & ((x5 & ~x2) ^ (x3 & ~x6) ^ x1 ^ x6 ^ x0)) ^ (x3 & ((x1 & x2) ^ x5 ^ x6)) ^
               (x2 & x6) ^ x0;
    } else { // x1x4 ^ x2x5 ^ x3x6 ^ x0x1x2x3 ^ x0x5 ^ x0
        return (x0 & ((x1 & x2 & x3) ^ ~x5)) ^ (x1 & x4) ^ (x2 & x5) ^ (x3 & x6);
    }
}

constexpr uint32_t RotateRight(uint32_t value, int bits) {
    return (value >> bits) | (value << (32 - bits));
}

constexpr uint32_t Constant(int pass, int step) {
    return pass == 0 ? 0 : kPiFraction[8 + 32 * (pass - 1) + step];
}

// Each step overwrites one register; the names rotate by one place per step, so after 32
// steps every register is back under its own name.
template <int Passes, int Pass> inline void RunPass(uint32_t t[8], const uint32_t words[32]) {
    const uint8_t* phi = Phi<Passes>(Pass);
#pragma GCC unroll 32
    for (int step = 0; step < 32; ++step) {
        auto x = [&](int j) -> uint32_t& { return t[(j - step) & 7]; };
        const uint32_t mixed =
            F<Pass>(x(phi[0]), x(phi[1]), x(phi[2]), x(phi[3]), x(phi[4]), x(phi[5]), x(phi[6]));
        uint32_t& target = x(7);
        target = RotateRight(mixed, 7) + RotateRight(target, 11) + words[kWordOrder[Pass][step]] +
                 Constant(Pass, step);
    }
}

template <int Passes> void Transform(uint32_t fingerprint[8], const uint8_t block[128]) {
    uint32_t words[32];
    for (int i = 0; i < 32; ++i) {
        words[i] = static_cast<uint32_t>(block[4 * i]) |
                   (static_cast<uint32_t>(block[4 * i + 1]) << 8) |
                   (static_cast<uint32_t>(block[4 * i + 2]) << 16) |
                   (static_cast<uint32_t>(block[4 * i + 3]) << 24);
    }
    uint32_t t[8];
    std::memcpy(t, fingerprint, sizeof(t));
    RunPass<Passes, 0>(t, words);
    RunPass<Passes, 1>(t, words);
    RunPass<Passes, 2>(t, words);
    if constexpr (Passes >= 4) {
        RunPass<Passes, 3>(t, words);
    }
    if constexpr (Passes >= 5) {
        RunPass<Passes, 4>(t, words);
    }
    for (int i = 0; i < 8; ++i) {
        fingerprint[i] += t[i];
    }
}

int ClampPasses(int passes) {
    return passes < 3 ? 3 : (passes > 5 ? 5 : passes);
}

void TransformBlock(HavalState& state, int passes) {
    switch (passes) {
    case 3:
        Transform<3>(state.fingerprint, state.block);
        break;
    case 4:
        Transform<4>(state.fingerprint, state.block);
        break;
    default:
        Transform<5>(state.fingerprint, state.block);
        break;
    }
}

bool IsOutputLength(int fptlen) {
    return fptlen == 128 || fptlen == 160 || fptlen == 192 || fptlen == 224 || fptlen == 256;
}

// Folds the 256-bit fingerprint down to fptlen bits by adding bit fields of the words that
// are dropped to the words that are kept.
void Tailor(uint32_t h[8], int fptlen) {
    const uint32_t t4 = h[4], t5 = h[5], t6 = h[6], t7 = h[7];
    switch (fptlen) {
    case 128:
        h[0] += RotateRight(
            (t7 & 0x000000FF) | (t6 & 0xFF000000) | (t5 & 0x00FF0000) | (t4 & 0x0000FF00), 8);
        h[1] += RotateRight(
            (t7 & 0x0000FF00) | (t6 & 0x000000FF) | (t5 & 0xFF000000) | (t4 & 0x00FF0000), 16);
        h[2] += RotateRight(
            (t7 & 0x00FF0000) | (t6 & 0x0000FF00) | (t5 & 0x000000FF) | (t4 & 0xFF000000), 24);
        h[3] += (t7 & 0xFF000000) | (t6 & 0x00FF0000) | (t5 & 0x0000FF00) | (t4 & 0x000000FF);
        break;
    case 160:
        h[0] += RotateRight((t7 & 0x3F) | (t6 & (0x7Fu << 25)) | (t5 & (0x3Fu << 19)), 19);
        h[1] += RotateRight((t7 & (0x3Fu << 6)) | (t6 & 0x3F) | (t5 & (0x7Fu << 25)), 25);
        h[2] += (t7 & (0x7Fu << 12)) | (t6 & (0x3Fu << 6)) | (t5 & 0x3F);
        h[3] += ((t7 & (0x3Fu << 19)) | (t6 & (0x7Fu << 12)) | (t5 & (0x3Fu << 6))) >> 6;
        h[4] += ((t7 & (0x7Fu << 25)) | (t6 & (0x3Fu << 19)) | (t5 & (0x7Fu << 12))) >> 12;
        break;
    case 192:
        h[0] += RotateRight((t7 & 0x1F) | (t6 & (0x3Fu << 26)), 26);
        h[1] += (t7 & (0x1Fu << 5)) | (t6 & 0x1F);
        h[2] += ((t7 & (0x3Fu << 10)) | (t6 & (0x1Fu << 5))) >> 5;
        h[3] += ((t7 & (0x1Fu << 16)) | (t6 & (0x3Fu << 10))) >> 10;
        h[4] += ((t7 & (0x1Fu << 21)) | (t6 & (0x1Fu << 16))) >> 16;
        h[5] += ((t7 & (0x3Fu << 26)) | (t6 & (0x1Fu << 21))) >> 21;
        break;
    case 224:
        h[0] += (t7 >> 27) & 0x1F;
        h[1] += (t7 >> 22) & 0x1F;
        h[2] += (t7 >> 18) & 0x0F;
        h[3] += (t7 >> 13) & 0x1F;
        h[4] += (t7 >> 9) & 0x0F;
        h[5] += (t7 >> 4) & 0x1F;
        h[6] += t7 & 0x0F;
        break;
    default:
        break;
    }
}

} // namespace

void HavalInit(HavalState& state) {
    std::memset(&state, 0, sizeof(state));
    for (int i = 0; i < 8; ++i) {
        state.fingerprint[i] = kPiFraction[i];
    }
}

void HavalUpdate(HavalState& state, const uint8_t* bytes, size_t count, int passes) {
    passes = ClampPasses(passes);
    const size_t index = (state.bitsLow >> 3) & 0x7F;
    const uint32_t addedBits = static_cast<uint32_t>(count << 3);
    state.bitsLow += addedBits;
    if (state.bitsLow < addedBits) {
        ++state.bitsHigh;
    }
    state.bitsHigh += static_cast<uint32_t>(count >> 29);

    if (index + count < 128) {
        std::memcpy(state.block + index, bytes, count);
        return;
    }
    const size_t fill = 128 - index;
    std::memcpy(state.block + index, bytes, fill);
    TransformBlock(state, passes);
    size_t done = fill;
    for (; done + 128 <= count; done += 128) {
        std::memcpy(state.block, bytes + done, 128);
        TransformBlock(state, passes);
    }
    std::memcpy(state.block, bytes + done, count - done);
}

void HavalTail(const HavalState& state, int fptlen, int passes, uint8_t tail[10]) {
    passes = ClampPasses(passes);
    constexpr int kVersion = 1;
    tail[0] = static_cast<uint8_t>(((fptlen & 3) << 6) | ((passes & 7) << 3) | kVersion);
    tail[1] = static_cast<uint8_t>((fptlen >> 2) & 0xFF);
    for (int i = 0; i < 4; ++i) {
        tail[2 + i] = static_cast<uint8_t>(state.bitsLow >> (8 * i));
        tail[6 + i] = static_cast<uint8_t>(state.bitsHigh >> (8 * i));
    }
}

void HavalFinal(HavalState& state, int fptlen, int passes, uint8_t* digest) {
    if (!IsOutputLength(fptlen)) {
        return;
    }
    static constexpr uint8_t kPadding[128] = {0x01};
    uint8_t tail[10];
    HavalTail(state, fptlen, passes, tail);
    const uint32_t index = (state.bitsLow >> 3) & 0x7F;
    HavalUpdate(state, kPadding, index < 118 ? 118 - index : 246 - index, passes);
    HavalUpdate(state, tail, sizeof(tail), passes);

    Tailor(state.fingerprint, fptlen);
    for (int i = 0; i < fptlen / 32; ++i) {
        for (int b = 0; b < 4; ++b) {
            digest[4 * i + b] = static_cast<uint8_t>(state.fingerprint[i] >> (8 * b));
        }
    }
}

} // namespace mirelon
