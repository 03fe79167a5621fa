// CRC32 and CRC32B folded 256 bytes at a time with VPCLMULQDQ on 512-bit registers, four blocks
// to a register, then finished on 128-bit blocks as the PCLMULQDQ kernel does. Built with
// VPCLMULQDQ and AVX-512 (F, BW) enabled for this file only; run only where the processor has
// them.
#include "hash/crc32_fold.h"
#include "hash/crc32_fold_blocks.h"

#include <type_traits>

namespace mirelon {

namespace {

__m512i WideMultipliers(const FoldMultipliers& multipliers) {
    return _mm512_broadcast_i32x4(Multipliers(multipliers));
}

// Each 128-bit lane of `blocks` moved on by the multipliers' distance, plus `next`.
inline __m512i FoldWide(__m512i blocks, __m512i multipliers, __m512i next) {
    const __m512i low = _mm512_clmulepi64_epi128(blocks, multipliers, 0x00);
    const __m512i high = _mm512_clmulepi64_epi128(blocks, multipliers, 0x11);
    return _mm512_ternarylogic_epi64(low, high, next, 0x96); // low ^ high ^ next
}

template <typename Blocks> inline __m512i LoadWide(const uint8_t* bytes) {
    const __m512i blocks = _mm512_loadu_si512(bytes);
    if constexpr (std::is_same_v<Blocks, MsbFirstBlocks>) {
        return _mm512_shuffle_epi8(blocks, _mm512_broadcast_i32x4(MsbFirstBlocks::Reverse()));
    } else {
        return blocks;
    }
}

// Four registers each take every fourth 64 bytes, moved 2048 bits on per step.
template <typename Blocks> uint32_t FoldBy512(uint32_t crc, const uint8_t* bytes, size_t count) {
    if (count < 256) {
        return FoldBy128<Blocks>(crc, bytes, count);
    }
    const FoldConstants& k = Blocks::Constants();
    const __m512i by2048 = WideMultipliers(k.by2048);
    const __m512i by512 = WideMultipliers(k.by512);
    __m512i z0 =
        _mm512_xor_si512(LoadWide<Blocks>(bytes), _mm512_zextsi128_si512(Blocks::Register(crc)));
    __m512i z1 = LoadWide<Blocks>(bytes + 64);
    __m512i z2 = LoadWide<Blocks>(bytes + 128);
    __m512i z3 = LoadWide<Blocks>(bytes + 192);
    bytes += 256;
    count -= 256;
    for (; count >= 256; count -= 256, bytes += 256) {
        z0 = FoldWide(z0, by2048, LoadWide<Blocks>(bytes));
        z1 = FoldWide(z1, by2048, LoadWide<Blocks>(bytes + 64));
        z2 = FoldWide(z2, by2048, LoadWide<Blocks>(bytes + 128));
        z3 = FoldWide(z3, by2048, LoadWide<Blocks>(bytes + 192));
    }
    __m512i z = FoldWide(FoldWide(FoldWide(z0, by512, z1), by512, z2), by512, z3);
    for (; count >= 64; count -= 64, bytes += 64) {
        z = FoldWide(z, by512, LoadWide<Blocks>(bytes));
    }
    return FinishFold<Blocks>(_mm512_castsi512_si128(z), _mm512_extracti32x4_epi32(z, 1),
                              _mm512_extracti32x4_epi32(z, 2), _mm512_extracti32x4_epi32(z, 3),
                              bytes, count);
}

} // namespace

const CrcFoldKernel kCrcFoldKernelVpclmul = {FoldBy512<MsbFirstBlocks>, FoldBy512<ReflectedBlocks>};

} // namespace mirelon
