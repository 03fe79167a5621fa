#pragma once

// Multi-buffer MD4 and MD5: up to 16 independent messages advance in lock-step, one per SIMD
// lane, so one core hashes many files at once. A lane whose message ends takes the next one
// without stopping the others, and each message gets exactly the digest the single-stream code
// (md4_md5.h) gives it.

#include "hash/byte_source.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mirelon {

enum class MdAlgorithm { kMd4, kMd5 };

// The code that runs the lanes. kScalar runs each lane through the single-stream transform, on
// any processor; the others need the processor's instruction set.
enum class MdLanePath { kScalar, kAvx2, kAvx512 };

// "scalar", "avx2" or "avx512".
const char* MdLanePathName(MdLanePath path);
// Whether this build and this processor can run the path.
bool MdLanePathSupported(MdLanePath path);
// How many lanes the path runs at once at most: 8 for AVX2, 16 otherwise.
int MdLaneWidth(MdLanePath path);

// The best supported path, narrowed by `request` ("scalar", "avx2" or "avx512"; anything else,
// or nullptr, asks for the best). A path the processor lacks is never chosen.
MdLanePath MdLanePathFor(const char* request);
// The best supported path, narrowed by the environment variable MIRELON_HASH_SIMD
// (simd_request.h).
MdLanePath SelectedMdLanePath();

using MdDigest = std::array<uint8_t, 16>;

// One message for a lane: `size` bytes in memory at `bytes`, or, when `source` is set, read
// from `source` at offsets 0 up to `size`.
struct MdLaneMessage {
    const uint8_t* bytes = nullptr;
    ByteSource* source = nullptr;
    uint64_t size = 0;
};

// Hands messages to the lanes and takes their results.
class MdLaneFeed {
public:
    virtual ~MdLaneFeed() = default;
    // Fills in the next message for `lane`; false when there are none left. Not asked again
    // after it has once returned false.
    virtual bool Next(int lane, MdLaneMessage& message) = 0;
    // The message last given to `lane` has ended: `digest` is its MD4 or MD5 when `complete`;
    // otherwise its source failed or ended before `size` bytes, and `digest` is null.
    virtual void Finished(int lane, bool complete, const uint8_t* digest) = 0;
};

// Hashes every message `feed` gives on `laneCount` lanes (1 up to the path's width; clamped),
// with `path`; a path the processor lacks runs as kScalar. Sources are read in pieces of up to
// 64 KiB per lane. Feed calls come from the calling thread, in the order the lanes need them.
void RunMdLanes(MdAlgorithm algorithm, MdLanePath path, int laneCount, MdLaneFeed& feed);

// The digests of messages in memory, in their order.
void MdLaneDigests(MdAlgorithm algorithm, MdLanePath path, int laneCount,
                   std::span<const std::span<const uint8_t>> messages, std::span<MdDigest> digests);

} // namespace mirelon
