#include "hash/md_lanes.h"

#include "base/byte_order.h"
#include "hash/md4_md5.h"
#include "hash/md_lane_kernel.h"
#include "hash/simd_request.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace mirelon {

namespace {

// Large enough that a read costs little next to hashing it, small enough that all 16 lanes'
// buffers (1 MiB) stay in the second-level cache between the read and the hashing; of 16 to
// 128 KiB, this hashed files of 1 KiB to 4 MiB fastest.
constexpr size_t kLaneBufferSize = 64 * 1024;
constexpr size_t kBlockSize = 64;

const MdLaneKernel* KernelFor(MdLanePath path) {
    switch (path) {
    case MdLanePath::kAvx2:
        return SupportedMdLaneKernelAvx2();
    case MdLanePath::kAvx512:
        return SupportedMdLaneKernelAvx512();
    case MdLanePath::kScalar:
        break;
    }
    return nullptr;
}

struct Lane {
    bool active = false;
    // `data` points at the padded last block or two: when they have run, the digest is ready.
    bool finishing = false;
    MdLaneMessage message;
    // The bytes ready for the transform; a source's bytes are read into `buffer` first.
    const uint8_t* data = nullptr;
    size_t available = 0;
    // How many bytes of the source have been read.
    uint64_t read = 0;
    uint8_t* buffer = nullptr;
    uint8_t tail[2 * kBlockSize];
};

// The lanes and their read buffers, one set per run. (Kept per thread they would save an
// allocation per run, but a thread_local with a destructor is freed out of order when a
// thread of mingw-w64's thread library ends.)
struct LaneStorage {
    MdLaneWords words{};
    Lane lanes[kMdMaxLanes];
    std::unique_ptr<uint8_t[]> buffers;

    uint8_t* Buffer(int lane) {
        if (!buffers) {
            buffers = std::make_unique_for_overwrite<uint8_t[]>(kLaneBufferSize * kMdMaxLanes);
        }
        return buffers.get() + kLaneBufferSize * static_cast<size_t>(lane);
    }
};

class LaneRunner {
public:
    LaneRunner(LaneStorage& storage, MdAlgorithm algorithm, const MdLaneKernel* kernel,
               int laneCount, MdLaneFeed& feed)
        : storage_(storage), words_(storage.words), lanes_(storage.lanes), feed_(feed),
          together_(kernel == nullptr                ? nullptr
                    : algorithm == MdAlgorithm::kMd4 ? kernel->md4
                                                     : kernel->md5),
          alone_(algorithm == MdAlgorithm::kMd4 ? Md4Transform : Md5Transform),
          width_(kernel != nullptr ? kernel->width : kMdMaxLanes),
          laneCount_(std::clamp(laneCount, 1, width_)) {}

    void Run() {
        for (int i = 0; i < laneCount_; ++i) {
            Start(i);
            Serve(i);
        }
        for (;;) {
            int active = 0, anyActive = 0;
            size_t blocks = SIZE_MAX;
            for (int i = 0; i < laneCount_; ++i) {
                if (lanes_[i].active) {
                    ++active;
                    anyActive = i;
                    blocks = std::min(blocks, lanes_[i].available / kBlockSize);
                }
            }
            if (active == 0) {
                return;
            }
            // A last lane left on its own runs faster through the single-stream transform.
            if (together_ == nullptr || (exhausted_ && active == 1)) {
                StepEachAlone();
            } else {
                StepTogether(blocks, anyActive);
            }
            for (int i = 0; i < laneCount_; ++i) {
                Serve(i);
            }
        }
    }

private:
    // Gives the lane its next message, or leaves it idle when there is none.
    void Start(int i) {
        Lane& lane = lanes_[i];
        lane.active = false;
        lane.message = {};
        if (exhausted_ || !feed_.Next(i, lane.message)) {
            exhausted_ = true;
            return;
        }
        lane.active = true;
        lane.finishing = false;
        if (lane.message.source != nullptr) {
            lane.buffer = storage_.Buffer(i);
            lane.data = lane.buffer;
            lane.available = 0;
            lane.read = 0;
        } else {
            lane.data = lane.message.bytes;
            lane.available = static_cast<size_t>(lane.message.size);
            lane.read = lane.message.size;
        }
        MdState initial;
        MdInit(initial);
        words_.a[i] = initial.A;
        words_.b[i] = initial.B;
        words_.c[i] = initial.C;
        words_.d[i] = initial.D;
    }

    // Brings an active lane to at least one ready block, finishing and replacing its message
    // as often as needed.
    void Serve(int i) {
        Lane& lane = lanes_[i];
        while (lane.active && lane.available < kBlockSize) {
            if (lane.finishing) {
                uint8_t digest[16];
                Store32LE(digest, words_.a[i]);
                Store32LE(digest + 4, words_.b[i]);
                Store32LE(digest + 8, words_.c[i]);
                Store32LE(digest + 12, words_.d[i]);
                feed_.Finished(i, true, digest);
                Start(i);
            } else if (!Refill(lane)) {
                feed_.Finished(i, false, nullptr);
                Start(i);
            }
        }
    }

    // Reads more of the source after the partial block left over, or pads the message once
    // all of it is in. False when the source fails or ends early.
    bool Refill(Lane& lane) {
        const size_t leftover = lane.available;
        if (lane.message.source == nullptr || lane.read == lane.message.size) {
            Pad(lane);
            return true;
        }
        std::memmove(lane.buffer, lane.data, leftover);
        const auto wanted = static_cast<size_t>(
            std::min<uint64_t>(kLaneBufferSize - leftover, lane.message.size - lane.read));
        const int64_t count =
            lane.message.source->ReadAt(lane.read, lane.buffer + leftover, wanted);
        if (count <= 0) {
            return false;
        }
        const auto used = static_cast<size_t>(std::min<uint64_t>(count, wanted));
        lane.read += used;
        lane.data = lane.buffer;
        lane.available = leftover + used;
        return true;
    }

    // The last partial block, 0x80, zeros and the length in bits, as one or two blocks.
    static void Pad(Lane& lane) {
        const size_t leftover = lane.available;
        if (leftover > 0) {
            std::memcpy(lane.tail, lane.data, leftover);
        }
        const size_t end = leftover < kBlockSize - 8 ? kBlockSize : 2 * kBlockSize;
        lane.tail[leftover] = 0x80;
        std::memset(lane.tail + leftover + 1, 0, end - 8 - leftover - 1);
        const uint64_t bits = lane.message.size << 3;
        Store32LE(lane.tail + end - 8, static_cast<uint32_t>(bits));
        Store32LE(lane.tail + end - 4, static_cast<uint32_t>(bits >> 32));
        lane.data = lane.tail;
        lane.available = end;
        lane.finishing = true;
    }

    void Advance(Lane& lane, size_t blocks) {
        lane.data += blocks * kBlockSize;
        lane.available -= blocks * kBlockSize;
    }

    // Every lane of the kernel runs; idle ones read an active lane's bytes and their results
    // are dropped.
    void StepTogether(size_t blocks, int anyActive) {
        const uint8_t* pointers[kMdMaxLanes];
        for (int i = 0; i < width_; ++i) {
            const bool active = i < laneCount_ && lanes_[i].active;
            pointers[i] = lanes_[active ? i : anyActive].data;
        }
        together_(words_, pointers, blocks);
        for (int i = 0; i < laneCount_; ++i) {
            if (lanes_[i].active) {
                Advance(lanes_[i], blocks);
            }
        }
    }

    void StepEachAlone() {
        for (int i = 0; i < laneCount_; ++i) {
            Lane& lane = lanes_[i];
            const size_t blocks = lane.available / kBlockSize;
            if (!lane.active || blocks == 0) {
                continue;
            }
            MdState state;
            state.A = words_.a[i];
            state.B = words_.b[i];
            state.C = words_.c[i];
            state.D = words_.d[i];
            alone_(state, lane.data, blocks);
            words_.a[i] = state.A;
            words_.b[i] = state.B;
            words_.c[i] = state.C;
            words_.d[i] = state.D;
            Advance(lane, blocks);
        }
    }

    LaneStorage& storage_;
    MdLaneWords& words_;
    Lane* lanes_;
    MdLaneFeed& feed_;
    const MdLaneTransform together_;
    const MdTransform alone_;
    const int width_;
    const int laneCount_;
    bool exhausted_ = false;
};

class MemoryFeed final : public MdLaneFeed {
public:
    MemoryFeed(std::span<const std::span<const uint8_t>> messages, std::span<MdDigest> digests)
        : messages_(messages), digests_(digests) {}

    bool Next(int lane, MdLaneMessage& message) override {
        if (next_ == messages_.size() || next_ == digests_.size()) {
            return false;
        }
        message.bytes = messages_[next_].data();
        message.size = messages_[next_].size();
        indexOfLane_[lane] = next_++;
        return true;
    }

    void Finished(int lane, bool, const uint8_t* digest) override {
        std::copy_n(digest, 16, digests_[indexOfLane_[lane]].begin());
    }

private:
    std::span<const std::span<const uint8_t>> messages_;
    std::span<MdDigest> digests_;
    size_t next_ = 0;
    size_t indexOfLane_[kMdMaxLanes] = {};
};

} // namespace

const char* MdLanePathName(MdLanePath path) {
    switch (path) {
    case MdLanePath::kAvx2:
        return "avx2";
    case MdLanePath::kAvx512:
        return "avx512";
    case MdLanePath::kScalar:
        break;
    }
    return "scalar";
}

bool MdLanePathSupported(MdLanePath path) {
    return path == MdLanePath::kScalar || KernelFor(path) != nullptr;
}

int MdLaneWidth(MdLanePath path) {
    return path == MdLanePath::kAvx2 ? 8 : kMdMaxLanes;
}

MdLanePath MdLanePathFor(const char* request) {
    const std::string_view text = request != nullptr ? request : "";
    MdLanePath path = text == "scalar" ? MdLanePath::kScalar
                      : text == "avx2" ? MdLanePath::kAvx2
                                       : MdLanePath::kAvx512;
    if (path == MdLanePath::kAvx512 && !MdLanePathSupported(path)) {
        path = MdLanePath::kAvx2;
    }
    if (path == MdLanePath::kAvx2 && !MdLanePathSupported(path)) {
        path = MdLanePath::kScalar;
    }
    return path;
}

MdLanePath SelectedMdLanePath() {
    static const MdLanePath path = MdLanePathFor(HashSimdRequest());
    return path;
}

void RunMdLanes(MdAlgorithm algorithm, MdLanePath path, int laneCount, MdLaneFeed& feed) {
    const auto storage = std::make_unique<LaneStorage>();
    LaneRunner(*storage, algorithm, KernelFor(path), laneCount, feed).Run();
}

void MdLaneDigests(MdAlgorithm algorithm, MdLanePath path, int laneCount,
                   std::span<const std::span<const uint8_t>> messages,
                   std::span<MdDigest> digests) {
    MemoryFeed feed(messages, digests);
    RunMdLanes(algorithm, path, laneCount, feed);
}

} // namespace mirelon
