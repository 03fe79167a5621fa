// Scans generated trees with MD5 into a fresh catalog and, in the same run, hashes the same
// files with md5sum:
// - about 50,000 files and 2 GiB (with duplicates), warm: the scan with one job against
//   `find | xargs md5sum`, and with one job per processor against `xargs -P` with as many;
// - 8 files of 256 MiB, warm, one job per processor against `xargs -P -n 1`;
// - the first tree cold (its pages dropped before each command), as the second item.
// Warm figures are the better of two runs. Each target line follows the scan's breakdown.
#include "bench/command_timing.h"
#include "bench/scan_bench_cache.h"
#include "catalog/sqlite_database.h"
#include "scan/drive_info.h"
#include "scan/processor_count.h"
#include "scan/scan_files.h"
#include "scan/scan_options.h"
#include "scan/scan_run.h"
#include "scan/storage_rotation.h"
#include "session/scan_session.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 100;
constexpr uint64_t kTargetBytes = 2ULL << 30;
constexpr int kLargeFiles = 8;
constexpr uint64_t kLargeFileBytes = 256ULL << 20;
constexpr int kRounds = 2;

uint64_t Next(uint64_t& state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

// Mostly small files, some large ones; every tenth file repeats an earlier file's content.
void Generate(const fs::path& tree) {
    const fs::path marker = tree / "complete";
    if (fs::exists(marker)) {
        return;
    }
    fs::remove_all(tree);
    const int files = kFolders * kFilesPerFolder;
    const uint64_t averageSize = kTargetBytes / files;
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    std::vector<char> buffer;
    for (int folder = 0; folder < kFolders; ++folder) {
        const fs::path dir =
            tree / ("d" + std::to_string(folder / 50)) / ("f" + std::to_string(folder));
        fs::create_directories(dir);
        for (int file = 0; file < kFilesPerFolder; ++file) {
            const uint64_t pick = Next(state);
            uint64_t size;
            if (pick % 100 < 2) {
                size = averageSize * 20 + pick % (averageSize * 10); // a few large files
            } else {
                size = pick % (averageSize * 3 / 2);
            }
            uint64_t seed = (file % 10 == 9) ? uint64_t(folder % 7 + 1) : Next(state) | 1;
            if (file % 10 == 9) {
                size = 4096 * (folder % 7 + 1); // duplicates of a handful of contents
            }
            buffer.resize(size);
            for (size_t i = 0; i + 8 <= size; i += 8) {
                const uint64_t word = Next(seed);
                std::copy_n(reinterpret_cast<const char*>(&word), 8, buffer.data() + i);
            }
            std::ofstream(dir / ("file" + std::to_string(file) + (file % 5 == 0 ? ".dll" : ".dat")),
                          std::ios::binary)
                .write(buffer.data(), std::streamsize(size));
        }
    }
    std::ofstream(marker) << "done";
}

void GenerateLarge(const fs::path& tree) {
    const fs::path marker = tree / "complete";
    if (fs::exists(marker)) {
        return;
    }
    fs::remove_all(tree);
    fs::create_directories(tree);
    std::vector<char> buffer(1 << 20);
    uint64_t state = 0xD1B54A32D192ED03ULL;
    for (int file = 0; file < kLargeFiles; ++file) {
        std::ofstream out(tree / ("large" + std::to_string(file) + ".bin"), std::ios::binary);
        for (uint64_t written = 0; written < kLargeFileBytes; written += buffer.size()) {
            for (size_t i = 0; i + 8 <= buffer.size(); i += 8) {
                const uint64_t word = Next(state);
                std::copy_n(reinterpret_cast<const char*>(&word), 8, buffer.data() + i);
            }
            out.write(buffer.data(), std::streamsize(buffer.size()));
        }
    }
    std::ofstream(marker) << "done";
}

using bench::Seconds;
using bench::TimeCommand;

struct ScanFigures {
    double seconds = 1e9;
    int64_t files = 0;
    uint64_t bytes = 0;
    int jobs = 0;
    mirelon::ScanTimes times;
};

ScanFigures TimeScan(const std::string& tree, const std::string& dataDir, int jobs) {
    using namespace mirelon;
    TScanFiles scanner;
    TcxDriveInfo drives;
    TScanOptions options; // MD5, fresh catalog
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run(scanner, drives, options, exclusions, progress);
    run.SetRoots({tree});
    run.SetJobs(jobs);
    std::unique_ptr<TSQLiteDatabase> catalog;
    const auto start = std::chrono::steady_clock::now();
    const ScanOutcome outcome = RunScanNow(run, catalog, dataDir, options);
    catalog.reset();
    ScanFigures figures{Seconds(start), run.ScannedCount(), run.BytesHashed(), run.Jobs(),
                        run.Times()};
    if (!outcome.error.empty()) {
        std::fprintf(stderr, "scan failed: %s\n", outcome.error.c_str());
        std::exit(1);
    }
    return figures;
}

// Runs the peer command and the scan `rounds` times each, in turn, `prepare` before each, and
// prints the better times, the scan's breakdown and the target line.
void Compare(
    const char* target, double goal, const std::string& peer, const fs::path& tree,
    const fs::path& dataDir, int jobs, int rounds, const std::function<void()>& prepare = [] {}) {
    double peerBest = 1e9;
    ScanFigures scanBest;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        peerBest = std::min(peerBest, TimeCommand(peer));
        prepare();
        const ScanFigures scan = TimeScan(tree.string(), dataDir.string() + "/", jobs);
        if (scan.seconds < scanBest.seconds) {
            scanBest = scan;
        }
    }
    const double mb = double(scanBest.bytes) / 1e6;
    const mirelon::ScanTimes& t = scanBest.times;
    std::printf("%s: scan --jobs %d: %lld files, %.0f MB in %.2f s (%.0f MB/s); peer %.2f s: %s\n",
                target, scanBest.jobs, static_cast<long long>(scanBest.files), mb, scanBest.seconds,
                mb / scanBest.seconds, peerBest, peer.c_str());
    std::printf("%s: breakdown in seconds, summed over threads: walk %.2f, directory entries "
                "and access times %.2f, reading and hashing contents %.2f, program images %.2f, "
                "catalog %.2f\n",
                target, t.walk, t.facts, t.hash, t.images, t.catalog);
    const double ratio = scanBest.seconds / peerBest;
    std::printf("target %s: %.2f (goal <= %.2f) %s\n", target, ratio, goal,
                ratio <= goal ? "met" : "missed");
    std::fflush(stdout);
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

} // namespace

int main(int argc, char** argv) {
    const fs::path tree =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "mirelon-scan-bench";
    const fs::path largeTree = tree.string() + "-large";
    // On the same disk as the trees, so that a cold scan's commits compete with its reads.
    const fs::path dataDir = tree.string() + "-data";
    std::printf("generating %d files, about %llu MiB, in %s, and %d files of %llu MiB in %s ...\n",
                kFolders * kFilesPerFolder, static_cast<unsigned long long>(kTargetBytes >> 20),
                tree.c_str(), kLargeFiles, static_cast<unsigned long long>(kLargeFileBytes >> 20),
                largeTree.c_str());
    Generate(tree);
    GenerateLarge(largeTree);
    fs::create_directories(dataDir);

    const int processors = mirelon::UsableProcessorCount();
    const std::string parallel = std::to_string(processors);
    std::printf("parallel runs: --jobs %d against xargs -P%d", processors, processors);
    if (mirelon::StorageRotationOf(tree.string()) == mirelon::TStorageRotation::Rotational) {
        std::printf(" (this disk says it spins, so a scan's default would be 1 job)");
    }
    std::printf("\n");

    const std::string find = "find " + Quoted(tree) + " -type f -print0 | ";
    const std::string findLarge = "find " + Quoted(largeTree) + " -type f -print0 | ";
    const std::string warm = "find " + Quoted(tree) + " " + Quoted(largeTree) +
                             " -type f -print0 | xargs -0 cat > /dev/null";
    TimeCommand(warm);
    Compare("scan_vs_md5sum", 1.25, find + "xargs -0 md5sum > /dev/null", tree, dataDir, 1,
            kRounds);
    // Small files share a worker's SIMD lanes, so the scan may take well under the processes'
    // time.
    Compare("scan_vs_parallel_md5sum", 0.6,
            find + "xargs -0 -P" + parallel + " -n 500 md5sum > /dev/null", tree, dataDir,
            processors, kRounds);
    Compare("large_files_vs_parallel_md5sum", 1.05,
            findLarge + "xargs -0 -P" + parallel + " -n 1 md5sum > /dev/null", largeTree, dataDir,
            processors, kRounds);
    if (EvictTreeFromCache(tree.string())) {
        Compare("cold_scan_vs_parallel_md5sum", 1.0,
                find + "xargs -0 -P" + parallel + " -n 500 md5sum > /dev/null", tree, dataDir,
                processors, 1, [&] { EvictTreeFromCache(tree.string()); });
    } else {
        std::printf("cold_scan_vs_parallel_md5sum: not possible here: the file system of %s "
                    "keeps its files in memory\n",
                    tree.c_str());
    }

    fs::remove_all(dataDir);
    if (argc <= 1 && std::getenv("MIRELON_KEEP_BENCH_TREE") == nullptr) {
        fs::remove_all(tree);
        fs::remove_all(largeTree);
    }
    return 0;
}
