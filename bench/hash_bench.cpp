// Throughput of every selectable hash method on a 64 MiB buffer, against OpenSSL's MD5 and
// zlib's crc32 and adler32 in the same run; multi-buffer MD5 of 16 buffers at once against
// OpenSSL's MD5 of the same buffers one after another; and HashFile on a 1 GiB file in the page
// cache against in-memory MD5. MIRELON_HASH_SIMD=scalar|avx2|avx512 forces the lanes' path
// (scalar also the CRCs' tables). Times are processor time of this process (the kernel's copying
// from the page cache included), so other processes on a busy machine do not count against either
// side; each figure is the best of several rounds, the two sides of a ratio taking turns.
#include "hash/crc32.h"
#include "hash/hash_batch.h"
#include "hash/hash_service.h"
#include "hash/md_lanes.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using mirelon::HashContext;

constexpr size_t kBufferSize = size_t{64} << 20;
constexpr int kFileRepeats = 16; // 1 GiB
constexpr int kRounds = 5;
constexpr double kMinimumSeconds = 2.0;
// Multi-buffer MD5: 16 buffers of 1 MiB, hashed this many times per timed round.
constexpr size_t kLaneBuffers = 16;
constexpr size_t kLaneBufferBytes = size_t{1} << 20;
constexpr int kLaneRepeats = 8;
// Batches of small files: this many, of 1 to 64 KiB.
constexpr int kSmallFiles = 2000;

double Seconds(const std::function<void()>& work) {
    const std::clock_t start = std::clock();
    work();
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

double MegabytesPerSecond(double bytes, double seconds) {
    return bytes / seconds / 1e6;
}

std::string HashBytes(int32_t method, const std::vector<uint8_t>& bytes, int repeats = 1) {
    HashContext context;
    mirelon::HashInit(&context, method);
    for (int i = 0; i < repeats; ++i) {
        mirelon::HashUpdate(&context, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    std::string text;
    mirelon::HashFinal(&context, text);
    return text;
}

std::string OpenSslMd5(std::span<const uint8_t> bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += mirelon::ToHex(2, digest[i]);
    }
    return text;
}

// Best times of `ours` and `peer`, run in alternation.
std::pair<double, double> BestOfInterleaved(const std::function<void()>& ours,
                                            const std::function<void()>& peer) {
    double bestOurs = 1e9, bestPeer = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        bestOurs = std::min(bestOurs, Seconds(ours));
        bestPeer = std::min(bestPeer, Seconds(peer));
    }
    return {bestOurs, bestPeer};
}

struct Target {
    const char* name;
    double ratio;
    double goal;
    bool valid;
};

} // namespace

int main() {
    std::vector<uint8_t> buffer(kBufferSize);
    std::mt19937_64 generator(12345);
    for (size_t i = 0; i < buffer.size(); i += 8) {
        const uint64_t word = generator();
        std::copy_n(reinterpret_cast<const uint8_t*>(&word), 8, buffer.begin() + long(i));
    }
    const double bytes = static_cast<double>(buffer.size());
    std::printf("hash_bench: %zu MiB buffer, best of up to %d rounds\n", kBufferSize >> 20,
                kRounds);

    std::printf("\n%-10s %10s\n", "method", "MB/s");
    double rate[mirelon::kHashMethodLast + 1] = {};
    for (int32_t method = mirelon::kHashMethodFirst; method <= mirelon::kHashMethodLast; ++method) {
        const char* name = mirelon::HashMethodName(method);
        if (name == nullptr) {
            if (method < mirelon::kHashMethodFirst + mirelon::kSelectableHashMethodCount) {
                std::printf("%-10d %10s\n", method, "n/a");
            }
            continue;
        }
        double best = 1e9, total = 0;
        for (int round = 0; round < kRounds && total < kMinimumSeconds; ++round) {
            const double seconds = Seconds([&] { HashBytes(method, buffer); });
            best = std::min(best, seconds);
            total += seconds;
        }
        rate[method] = MegabytesPerSecond(bytes, best);
        std::printf("%-10s %10.0f\n", name, rate[method]);
    }

    std::vector<Target> targets;

    // MD5 against OpenSSL.
    const bool md5Agrees = HashBytes(259, buffer) == OpenSslMd5(buffer);
    auto [md5Ours, md5Peer] =
        BestOfInterleaved([&] { HashBytes(259, buffer); }, [&] { OpenSslMd5(buffer); });
    std::printf("\nMD5     ours %8.0f MB/s   OpenSSL %8.0f MB/s   ratio %.2f%s\n",
                MegabytesPerSecond(bytes, md5Ours), MegabytesPerSecond(bytes, md5Peer),
                md5Peer / md5Ours, md5Agrees ? "" : "   DIGESTS DIFFER");
    targets.push_back({"md5_vs_openssl", md5Peer / md5Ours, 0.9, md5Agrees});

    // Multi-buffer MD5 against OpenSSL hashing the same buffers one after another.
    const mirelon::MdLanePath lanePath = mirelon::SelectedMdLanePath();
    const mirelon::MdLanePath machineBest = mirelon::MdLanePathFor(nullptr);
    std::vector<std::span<const uint8_t>> pieces;
    for (size_t i = 0; i < kLaneBuffers; ++i) {
        pieces.emplace_back(buffer.data() + i * kLaneBufferBytes, kLaneBufferBytes);
    }
    std::vector<mirelon::MdDigest> digests(kLaneBuffers);
    const auto hashInLanes = [&](mirelon::MdLanePath path) {
        for (int repeat = 0; repeat < kLaneRepeats; ++repeat) {
            mirelon::MdLaneDigests(mirelon::MdAlgorithm::kMd5, path, mirelon::MdLaneWidth(path),
                                   pieces, digests);
        }
    };
    const auto hashWithOpenSsl = [&] {
        for (int repeat = 0; repeat < kLaneRepeats; ++repeat) {
            for (std::span<const uint8_t> piece : pieces) {
                unsigned char digest[EVP_MAX_MD_SIZE];
                EVP_Digest(piece.data(), piece.size(), digest, nullptr, EVP_md5(), nullptr);
            }
        }
    };
    mirelon::MdLaneDigests(mirelon::MdAlgorithm::kMd5, lanePath, mirelon::MdLaneWidth(lanePath),
                           pieces, digests);
    bool lanesAgree = true;
    for (size_t i = 0; i < kLaneBuffers; ++i) {
        lanesAgree =
            lanesAgree && mirelon::DigestText(digests[i].data(), 16) == OpenSslMd5(pieces[i]);
    }
    const double laneBytes = double(kLaneBuffers * kLaneBufferBytes) * kLaneRepeats;
    std::printf("\nMD5 of %zu x 1 MiB in lanes, by path:", kLaneBuffers);
    for (mirelon::MdLanePath path :
         {mirelon::MdLanePath::kScalar, mirelon::MdLanePath::kAvx2, mirelon::MdLanePath::kAvx512}) {
        if (mirelon::MdLanePathSupported(path)) {
            double best = 1e9;
            for (int round = 0; round < kRounds; ++round) {
                best = std::min(best, Seconds([&] { hashInLanes(path); }));
            }
            std::printf("  %s %.0f MB/s", mirelon::MdLanePathName(path),
                        MegabytesPerSecond(laneBytes, best));
        }
    }
    auto [lanesOurs, lanesPeer] =
        BestOfInterleaved([&] { hashInLanes(lanePath); }, hashWithOpenSsl);
    std::printf("\nMD5 lanes (path %s, %d lanes; this machine's best %s) %8.0f MB/s   OpenSSL one "
                "after another %8.0f MB/s   ratio %.2f%s\n",
                mirelon::MdLanePathName(lanePath), mirelon::MdLaneWidth(lanePath),
                mirelon::MdLanePathName(machineBest), MegabytesPerSecond(laneBytes, lanesOurs),
                MegabytesPerSecond(laneBytes, lanesPeer), lanesPeer / lanesOurs,
                lanesAgree ? "" : "   DIGESTS DIFFER");
    // The goal of the path in use, so that a run forced to AVX2 checks the AVX2 goal.
    const double laneGoal = lanePath == mirelon::MdLanePath::kAvx512 ? 4.0
                            : lanePath == mirelon::MdLanePath::kAvx2 ? 2.5
                                                                     : 0.9;
    targets.push_back({"md5_multibuffer_vs_openssl", lanesPeer / lanesOurs, laneGoal, lanesAgree});

    // CRC32B and Adler-32 against zlib.
    volatile uLong sink = 0;
    const uLong zlibCrc = crc32_z(0, buffer.data(), buffer.size());
    const bool crcAgrees =
        HashBytes(261, buffer) == mirelon::ToHex(8, __builtin_bswap32(uint32_t(zlibCrc)));
    auto [crcOurs, crcPeer] = BestOfInterleaved(
        [&] { HashBytes(261, buffer); }, [&] { sink = crc32_z(0, buffer.data(), buffer.size()); });
    std::printf(
        "CRC32B  ours %8.0f MB/s (path %s)   zlib    %8.0f MB/s   ratio %.2f%s\n",
        MegabytesPerSecond(bytes, crcOurs), mirelon::CrcPathName(mirelon::SelectedCrcPath()),
        MegabytesPerSecond(bytes, crcPeer), crcPeer / crcOurs, crcAgrees ? "" : "   VALUES DIFFER");
    targets.push_back({"crc32b_vs_zlib", crcPeer / crcOurs, 1.0, crcAgrees});

    const uLong zlibAdler = adler32_z(1, buffer.data(), buffer.size());
    const bool adlerAgrees = HashBytes(262, buffer) == mirelon::ToHex(8, zlibAdler);
    auto [adlerOurs, adlerPeer] =
        BestOfInterleaved([&] { HashBytes(262, buffer); },
                          [&] { sink = adler32_z(1, buffer.data(), buffer.size()); });
    std::printf("ADLER32 ours %8.0f MB/s   zlib    %8.0f MB/s   ratio %.2f%s\n",
                MegabytesPerSecond(bytes, adlerOurs), MegabytesPerSecond(bytes, adlerPeer),
                adlerPeer / adlerOurs, adlerAgrees ? "" : "   VALUES DIFFER");
    targets.push_back({"adler32_vs_zlib", adlerPeer / adlerOurs, 0.8, adlerAgrees});

    // The most-significant-bit-first CRC against the reflected one.
    auto [msbFirst, reflected] =
        BestOfInterleaved([&] { HashBytes(260, buffer); }, [&] { HashBytes(261, buffer); });
    std::printf("CRC32   %8.0f MB/s   CRC32B  %8.0f MB/s   ratio %.2f\n",
                MegabytesPerSecond(bytes, msbFirst), MegabytesPerSecond(bytes, reflected),
                reflected / msbFirst);
    targets.push_back({"crc32_vs_crc32b", reflected / msbFirst, 0.8, true});

    // HashFile on a 1 GiB file in the page cache against MD5 of the same bytes in memory.
    const fs::path file = fs::temp_directory_path() / "mirelon_hash_bench.bin";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < kFileRepeats; ++i) {
            out.write(reinterpret_cast<const char*>(buffer.data()), std::streamsize(bytes));
        }
    }
    const double fileBytes = bytes * kFileRepeats;
    std::string fileText;
    const int code = mirelon::HashFile(259, file.string(), fileText); // warms the cache
    const bool fileAgrees =
        code == mirelon::kHashOk && fileText == HashBytes(259, buffer, kFileRepeats);
    auto [fromFile, inMemory] = BestOfInterleaved(
        [&] {
            std::string text;
            mirelon::HashFile(259, file.string(), text);
        },
        [&] { HashBytes(259, buffer, kFileRepeats); });
    std::error_code ignored;
    fs::remove(file, ignored);
    std::printf("HashFile MD5 %8.0f MB/s   in memory %8.0f MB/s   ratio %.2f%s\n",
                MegabytesPerSecond(fileBytes, fromFile), MegabytesPerSecond(fileBytes, inMemory),
                inMemory / fromFile, fileAgrees ? "" : "   CHECKSUMS DIFFER");
    targets.push_back({"hashfile_vs_memory_md5", inMemory / fromFile, 0.9, fileAgrees});

    // Many small files in the page cache: one batch against HashFile one by one. For the
    // record: opening and reading small files costs more than hashing them.
    const fs::path folder = fs::temp_directory_path() / "mirelon_hash_bench_small";
    fs::create_directories(folder);
    std::vector<std::string> names;
    double smallBytes = 0;
    for (int i = 0; i < kSmallFiles; ++i) {
        const size_t size = 1024 + generator() % (63 * 1024);
        names.push_back((folder / std::to_string(i)).string());
        std::ofstream(names.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(buffer.data()) + i, std::streamsize(size));
        smallBytes += double(size);
    }
    std::vector<std::string> singleTexts(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        mirelon::HashFile(259, names[i], singleTexts[i]);
    }
    bool batchAgrees = true;
    const std::vector<mirelon::HashBatchResult> batch = mirelon::HashFileBatch(259, names);
    for (size_t i = 0; i < names.size(); ++i) {
        batchAgrees = batchAgrees && batch[i].code == 0 && batch[i].text == singleTexts[i];
    }
    auto [batchTime, singleTime] = BestOfInterleaved([&] { mirelon::HashFileBatch(259, names); },
                                                     [&] {
                                                         std::string text;
                                                         for (const std::string& name : names) {
                                                             mirelon::HashFile(259, name, text);
                                                         }
                                                     });
    fs::remove_all(folder, ignored);
    std::printf("HashFileBatch MD5, %d files of 1-64 KiB %8.0f MB/s   HashFile one by one %8.0f "
                "MB/s   ratio %.2f%s\n",
                kSmallFiles, MegabytesPerSecond(smallBytes, batchTime),
                MegabytesPerSecond(smallBytes, singleTime), singleTime / batchTime,
                batchAgrees ? "" : "   CHECKSUMS DIFFER");

    std::printf("\n");
    for (const Target& target : targets) {
        const bool met = target.valid && target.ratio >= target.goal;
        std::printf("target %s: %.2f (goal >= %.1f) %s\n", target.name, target.ratio, target.goal,
                    met ? "met" : "missed");
    }
    return 0;
}
