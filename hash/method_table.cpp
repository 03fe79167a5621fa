#include "hash/method_table.h"

#include "hash/adler32.h"
#include "hash/crc32.h"
#include "hash/hash_service.h"
#include "hash/hex_text.h"
#include "hash/md2.h"
#include "hash/md4_md5.h"
#include "hash/sha1.h"
#include "hash/sha256.h"
#include "hash/sha512.h"

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
    {269, "SHA1", 40, 0, CreateHashState<Sha1State, Sha1Init>, UpdateWith<Sha1State, Sha1Update>,
     DigestWith<Sha1State, 20, Sha1Final>},
    {270, "SHA256", 64, 0, CreateHashState<Sha256State, Sha256Init>,
     UpdateWith<Sha256State, Sha256Update>, DigestWith<Sha256State, 32, Sha256Final>},
    {271, "SHA384", 96, 0, CreateHashState<Sha512State, Sha384Init>,
     UpdateWith<Sha512State, Sha512Update>, DigestWith<Sha512State, 48, Sha384Final>},
    {272, "SHA512", 128, 0, CreateHashState<Sha512State, Sha512Init>,
     UpdateWith<Sha512State, Sha512Update>, DigestWith<Sha512State, 64, Sha512Final>},
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
