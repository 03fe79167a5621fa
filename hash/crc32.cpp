#include "hash/crc32.h"

#include "base/byte_order.h"
#include "hash/crc32_fold.h"
#include "hash/prefetch.h"
#include "hash/simd_request.h"

#include <array>

namespace mirelon {

namespace {

// Slicing by 16: table k advances the register over a byte followed by k zero bytes, so sixteen
// independent lookups replace sixteen dependent ones. Table 0 is the plain byte table.
constexpr int kSlices = 16;
using CrcTables = std::array<std::array<uint32_t, 256>, kSlices>;

constexpr CrcTables MakeMsbFirstTables() {
    CrcTables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
        tables[0][i] = crc;
    }
    for (int k = 1; k < kSlices; ++k) {
        for (uint32_t i = 0; i < 256; ++i) {
            const uint32_t previous = tables[k - 1][i];
            tables[k][i] = (previous << 8) ^ tables[0][previous >> 24];
        }
    }
    return tables;
}

constexpr CrcTables MakeReflectedTables() {
    CrcTables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t crc = i;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        tables[0][i] = crc;
    }
    for (int k = 1; k < kSlices; ++k) {
        for (uint32_t i = 0; i < 256; ++i) {
            const uint32_t previous = tables[k - 1][i];
            tables[k][i] = (previous >> 8) ^ tables[0][previous & 0xFF];
        }
    }
    return tables;
}

constexpr CrcTables kMsbFirst = MakeMsbFirstTables();
constexpr CrcTables kReflected = MakeReflectedTables();

static_assert(kMsbFirst[0][1] == 0x04C11DB7u);
static_assert(kReflected[0][128] == 0xEDB88320u);

// Byte j of a 16-byte stretch uses table 15 - j; a byte of word `w` at bit offset `shift`
// (most significant first for MSB-first, least significant first for reflected).
template <int Table> inline uint32_t Slice(const CrcTables& tables, uint64_t word, int shift) {
    return tables[Table][(word >> shift) & 0xFF];
}

void MsbFirstTableUpdate(CrcState& state, const uint8_t* bytes, size_t count) {
    const CrcTables& t = kMsbFirst;
    uint32_t crc = state.value;
    for (; count >= 16; count -= 16, bytes += 16) {
        // Only the first four bytes meet the register; the other twelve lookups do not wait for
        // it, so they are combined first and the register's four join last.
        PrefetchAhead(bytes);
        const uint64_t high = Load64BE(bytes);
        const uint64_t low = Load64BE(bytes + 8);
        const uint32_t head = crc ^ static_cast<uint32_t>(high >> 32);
        const uint32_t rest = (Slice<11>(t, high, 24) ^ Slice<10>(t, high, 16)) ^
                              (Slice<9>(t, high, 8) ^ Slice<8>(t, high, 0)) ^
                              ((Slice<7>(t, low, 56) ^ Slice<6>(t, low, 48)) ^
                               (Slice<5>(t, low, 40) ^ Slice<4>(t, low, 32))) ^
                              ((Slice<3>(t, low, 24) ^ Slice<2>(t, low, 16)) ^
                               (Slice<1>(t, low, 8) ^ Slice<0>(t, low, 0)));
        crc = rest ^ ((Slice<15>(t, head, 24) ^ Slice<14>(t, head, 16)) ^
                      (Slice<13>(t, head, 8) ^ Slice<12>(t, head, 0)));
    }
    for (; count > 0; --count, ++bytes) {
        crc = (crc << 8) ^ t[0][(crc >> 24) ^ *bytes];
    }
    state.value = crc;
}

void ReflectedTableUpdate(CrcState& state, const uint8_t* bytes, size_t count) {
    const CrcTables& t = kReflected;
    uint32_t crc = state.value;
    for (; count >= 16; count -= 16, bytes += 16) {
        // As above: the register meets only the first four bytes.
        PrefetchAhead(bytes);
        const uint64_t first = Load64LE(bytes);
        const uint64_t second = Load64LE(bytes + 8);
        const uint32_t head = crc ^ static_cast<uint32_t>(first);
        const uint32_t rest = (Slice<11>(t, first, 32) ^ Slice<10>(t, first, 40)) ^
                              (Slice<9>(t, first, 48) ^ Slice<8>(t, first, 56)) ^
                              ((Slice<7>(t, second, 0) ^ Slice<6>(t, second, 8)) ^
                               (Slice<5>(t, second, 16) ^ Slice<4>(t, second, 24))) ^
                              ((Slice<3>(t, second, 32) ^ Slice<2>(t, second, 40)) ^
                               (Slice<1>(t, second, 48) ^ Slice<0>(t, second, 56)));
        crc = rest ^ ((Slice<15>(t, head, 0) ^ Slice<14>(t, head, 8)) ^
                      (Slice<13>(t, head, 16) ^ Slice<12>(t, head, 24)));
    }
    for (; count > 0; --count, ++bytes) {
        crc = (crc >> 8) ^ t[0][(crc ^ *bytes) & 0xFF];
    }
    state.value = crc;
}

const CrcFoldKernel* KernelFor(CrcPath path) {
    switch (path) {
    case CrcPath::kFolded:
        return SupportedCrcFoldKernelPclmul();
    case CrcPath::kFoldedWide:
        return SupportedCrcFoldKernelVpclmul();
    case CrcPath::kTable:
        break;
    }
    return nullptr;
}

// The whole 16-byte blocks of a long input fold; the rest goes through the tables.
void FoldedUpdate(CrcFoldUpdate fold, void (*table)(CrcState&, const uint8_t*, size_t),
                  CrcState& state, const uint8_t* bytes, size_t count) {
    if (fold != nullptr && count >= kCrcFoldMinimum) {
        const size_t folded = count & ~size_t{15};
        state.value = fold(state.value, bytes, folded);
        bytes += folded;
        count -= folded;
    }
    table(state, bytes, count);
}

} // namespace

void Crc32Init(CrcState& state) {
    state.value = 0xFFFFFFFFu;
}

void Crc32Update(CrcState& state, const uint8_t* bytes, size_t count) {
    Crc32UpdateOn(SelectedCrcPath(), state, bytes, count);
}

void Crc32bUpdate(CrcState& state, const uint8_t* bytes, size_t count) {
    Crc32bUpdateOn(SelectedCrcPath(), state, bytes, count);
}

uint32_t CrcFinal(const CrcState& state) {
    return ~state.value;
}

const char* CrcPathName(CrcPath path) {
    switch (path) {
    case CrcPath::kFolded:
        return "pclmul";
    case CrcPath::kFoldedWide:
        return "vpclmul";
    case CrcPath::kTable:
        break;
    }
    return "table";
}

bool CrcPathSupported(CrcPath path) {
    return path == CrcPath::kTable || KernelFor(path) != nullptr;
}

CrcPath SelectedCrcPath() {
    static const CrcPath path = [] {
        if (HashSimdForcedScalar()) {
            return CrcPath::kTable;
        }
        for (CrcPath wanted : {CrcPath::kFoldedWide, CrcPath::kFolded}) {
            if (CrcPathSupported(wanted)) {
                return wanted;
            }
        }
        return CrcPath::kTable;
    }();
    return path;
}

void Crc32UpdateOn(CrcPath path, CrcState& state, const uint8_t* bytes, size_t count) {
    const CrcFoldKernel* kernel = KernelFor(path);
    FoldedUpdate(kernel != nullptr ? kernel->msbFirst : nullptr, MsbFirstTableUpdate, state, bytes,
                 count);
}

void Crc32bUpdateOn(CrcPath path, CrcState& state, const uint8_t* bytes, size_t count) {
    const CrcFoldKernel* kernel = KernelFor(path);
    FoldedUpdate(kernel != nullptr ? kernel->reflected : nullptr, ReflectedTableUpdate, state,
                 bytes, count);
}

} // namespace mirelon
