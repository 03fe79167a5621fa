#include "hash/method_table.h"

#include "base/hex_text.h"
#include "hash/adler32.h"
#include "hash/crc32.h"
#include "hash/gost.h"
#include "hash/hash_service.h"
#include "hash/haval.h"
#include "hash/md2.h"
#include "hash/md4_md5.h"
#include "hash/ripemd.h"
#include "hash/sha1.h"
#include "hash/sha256.h"
#include "hash/sha512.h"
#include "hash/tiger.h"

#include <array>

namespace mirelon {

namespace {

template <typename State, void (*Update)(State&, const uint8_t*, size_t)>
void UpdateWith(HashState& state, const uint8_t* bytes, size_t count, int32_t) {
    Update(StateOf<State>(state), bytes, count);
}

template <typename State, size_t Length, void (*Final)(State&, uint8_t*)>
std::string DigestWith(HashState& state, int32_t) {
    uint8_t digest[Length];
    Final(StateOf<State>(state), digest);
    return DigestText(digest, Length);
}

template <MdTransform Transform>
void MdUpdateWith(HashState& state, const uint8_t* bytes, size_t count, int32_t) {
    MdUpdate(StateOf<MdState>(state), bytes, count, Transform);
}

template <MdTransform Transform> std::string MdDigestWith(HashState& state, int32_t) {
    uint8_t digest[16];
    MdFinal(StateOf<MdState>(state), Transform, digest);
    return DigestText(digest, sizeof digest);
}

// The CRC texts put the least significant byte first.
std::string CrcText(HashState& state, int32_t) {
    return ToHex(8, __builtin_bswap32(CrcFinal(StateOf<CrcState>(state))));
}

std::string Adler32Text(HashState& state, int32_t) {
    return ToHex(8, Adler32Final(StateOf<CrcState>(state)));
}

void HavalUpdateWith(HashState& state, const uint8_t* bytes, size_t count, int32_t passes) {
    HavalUpdate(StateOf<HavalState>(state), bytes, count, passes);
}

template <int Fptlen> std::string HavalText(HashState& state, int32_t passes) {
    uint8_t digest[Fptlen / 8];
    HavalFinal(StateOf<HavalState>(state), Fptlen, passes, digest);
    return DigestText(digest, sizeof digest);
}

void TigerUpdateWith(HashState& state, const uint8_t* bytes, size_t count, int32_t passes) {
    TigerUpdate(StateOf<TigerState>(state), bytes, count, passes);
}

// Each chaining word most significant digit first; the shorter forms are cut from the full one.
template <size_t Digits> std::string TigerText(HashState& state, int32_t passes) {
    uint64_t words[3];
    TigerFinal(StateOf<TigerState>(state), passes, words);
    return (ToHex(16, words[0]) + ToHex(16, words[1]) + ToHex(16, words[2])).substr(0, Digits);
}

constexpr HashMethod kMethods[] = {
    {257, "MD2", 32, 0, CreateHashState<Md2State, Md2Init>, UpdateWith<Md2State, Md2Update>,
     DigestWith<Md2State, 16, Md2Final>},
    {258, "MD4", 32, 0, CreateHashState<MdState, MdInit>, MdUpdateWith<Md4Transform>,
     MdDigestWith<Md4Transform>},
    {259, "MD5", 32, 0, CreateHashState<MdState, MdInit>, MdUpdateWith<Md5Transform>,
     MdDigestWith<Md5Transform>},
    {260, "CRC32", 8, 0, CreateHashState<CrcState, Crc32Init>, UpdateWith<CrcState, Crc32Update>,
     CrcText},
    {261, "CRC32B", 8, 0, CreateHashState<CrcState, Crc32Init>, UpdateWith<CrcState, Crc32bUpdate>,
     CrcText},
    {262, "ADLER32", 8, 0, CreateHashState<CrcState, Adler32Init>,
     UpdateWith<CrcState, Adler32Update>, Adler32Text},
    {263, "GOST", 64, 0, CreateHashState<GostState, GostInit>, UpdateWith<GostState, GostUpdate>,
     DigestWith<GostState, 32, GostFinal>},
    {264, "HAVAL128", 32, 3, CreateHashState<HavalState, HavalInit>, HavalUpdateWith,
     HavalText<128>},
    {265, "HAVAL160", 40, 3, CreateHashState<HavalState, HavalInit>, HavalUpdateWith,
     HavalText<160>},
    {266, "HAVAL192", 48, 3, CreateHashState<HavalState, HavalInit>, HavalUpdateWith,
     HavalText<192>},
    {267, "HAVAL224", 56, 3, CreateHashState<HavalState, HavalInit>, HavalUpdateWith,
     HavalText<224>},
    {268, "HAVAL256", 64, 3, CreateHashState<HavalState, HavalInit>, HavalUpdateWith,
     HavalText<256>},
    {269, "SHA1", 40, 0, CreateHashState<Sha1State, Sha1Init>, UpdateWith<Sha1State, Sha1Update>,
     DigestWith<Sha1State, 20, Sha1Final>},
    {270, "SHA256", 64, 0, CreateHashState<Sha256State, Sha256Init>,
     UpdateWith<Sha256State, Sha256Update>, DigestWith<Sha256State, 32, Sha256Final>},
    {271, "SHA384", 96, 0, CreateHashState<Sha512State, Sha384Init>,
     UpdateWith<Sha512State, Sha512Update>, DigestWith<Sha512State, 48, Sha384Final>},
    {272, "SHA512", 128, 0, CreateHashState<Sha512State, Sha512Init>,
     UpdateWith<Sha512State, Sha512Update>, DigestWith<Sha512State, 64, Sha512Final>},
    {273, "TIGER128", 32, 3, CreateHashState<TigerState, TigerInit>, TigerUpdateWith,
     TigerText<32>},
    {274, "TIGER160", 40, 3, CreateHashState<TigerState, TigerInit>, TigerUpdateWith,
     TigerText<40>},
    {275, "TIGER192", 48, 3, CreateHashState<TigerState, TigerInit>, TigerUpdateWith,
     TigerText<48>},
    {276, "RIPEMD128", 32, 0, CreateHashState<Ripemd128State, Ripemd128Init>,
     UpdateWith<Ripemd128State, Ripemd128Update>, DigestWith<Ripemd128State, 16, Ripemd128Final>},
    {277, "RIPEMD160", 40, 0, CreateHashState<Ripemd160State, Ripemd160Init>,
     UpdateWith<Ripemd160State, Ripemd160Update>, DigestWith<Ripemd160State, 20, Ripemd160Final>},
};

constexpr size_t kSlotCount = kHashMethodLast - kHashMethodFirst + 1;

constexpr std::array<const HashMethod*, kSlotCount> MakeSlots() {
    std::array<const HashMethod*, kSlotCount> slots{};
    for (const HashMethod& method : kMethods) {
        slots[method.id - kHashMethodFirst] = &method;
    }
    return slots;
}

constexpr bool AscendingWithinRange() {
    int32_t previous = kHashMethodFirst - 1;
    for (const HashMethod& method : kMethods) {
        if (method.id <= previous || method.id > kHashMethodLast) {
            return false;
        }
        previous = method.id;
    }
    return true;
}

static_assert(AscendingWithinRange(), "method IDs must ascend within the ID range");

constexpr std::array<const HashMethod*, kSlotCount> kSlots = MakeSlots();

} // namespace

std::span<const HashMethod> HashMethods() {
    return kMethods;
}

const HashMethod* FindHashMethod(int32_t id) {
    if (id < kHashMethodFirst || id > kHashMethodLast) {
        return nullptr;
    }
    return kSlots[id - kHashMethodFirst];
}

} // namespace mirelon
