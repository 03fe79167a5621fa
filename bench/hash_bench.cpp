// Throughput of every selectable hash method on a 64 MiB buffer, against OpenSSL's MD5 and
// zlib's crc32 and adler32 in the same run, and HashFile on a 1 GiB file in the page cache
// against in-memory MD5. Times are processor time of this process (the kernel's copying from the
// page cache included), so other processes on a busy machine do not count against either side;
// each figure is the best of several rounds, the two sides of a ratio taking turns.
#include "hash/hash_service.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using mirelon::HashContext;

constexpr size_t kBufferSize = size_t{64} << 20;
constexpr int kFileRepeats = 16; // 1 GiB
constexpr int kRounds = 5;
constexpr double kMinimumSeconds = 2.0;

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

std::string OpenSslMd5(const std::vector<uint8_t>& bytes) {
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

    // CRC32B and Adler-32 against zlib.
    volatile uLong sink = 0;
    const uLong zlibCrc = crc32_z(0, buffer.data(), buffer.size());
    const bool crcAgrees =
        HashBytes(261, buffer) == mirelon::ToHex(8, __builtin_bswap32(uint32_t(zlibCrc)));
    auto [crcOurs, crcPeer] = BestOfInterleaved(
        [&] { HashBytes(261, buffer); }, [&] { sink = crc32_z(0, buffer.data(), buffer.size()); });
    std::printf("CRC32B  ours %8.0f MB/s   zlib    %8.0f MB/s   ratio %.2f%s\n",
                MegabytesPerSecond(bytes, crcOurs), MegabytesPerSecond(bytes, crcPeer),
                crcPeer / crcOurs, crcAgrees ? "" : "   VALUES DIFFER");
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

    std::printf("\n");
    for (const Target& target : targets) {
        const bool met = target.valid && target.ratio >= target.goal;
        std::printf("target %s: %.2f (goal >= %.1f) %s\n", target.name, target.ratio, target.goal,
                    met ? "met" : "missed");
    }
    return 0;
}
