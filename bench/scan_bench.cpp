// Scans a generated tree of about 50,000 files and 2 GiB (with duplicates) with MD5 into a fresh
// catalog and, in the same run, times `find TREE -type f -print0 | xargs -0 md5sum` over the
// same tree. Both run on a warm page cache; each is timed twice and the better time counts.
#include "catalog/sqlite_database.h"
#include "scan/drive_info.h"
#include "scan/scan_files.h"
#include "scan/scan_options.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 100;
constexpr uint64_t kTargetBytes = 2ULL << 30;
constexpr int kRounds = 2;
constexpr double kGoal = 1.25;

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

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double TimeCommand(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "command failed: %s\n", command.c_str());
        std::exit(1);
    }
    return Seconds(start);
}

struct ScanFigures {
    double seconds = 0;
    int64_t files = 0;
    uint64_t bytes = 0;
};

ScanFigures TimeScan(const std::string& tree, const std::string& dataDir) {
    using namespace mirelon;
    TScanFiles scanner;
    TcxDriveInfo drives;
    TScanOptions options; // MD5, fresh catalog
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run(scanner, drives, options, exclusions, progress);
    run.SetRoots({tree});
    std::unique_ptr<TSQLiteDatabase> catalog;
    const auto start = std::chrono::steady_clock::now();
    const ScanOutcome outcome = RunScanNow(run, catalog, dataDir, options);
    ScanFigures figures{Seconds(start), run.ScannedCount(), run.BytesHashed()};
    if (!outcome.error.empty()) {
        std::fprintf(stderr, "scan failed: %s\n", outcome.error.c_str());
        std::exit(1);
    }
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path tree =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "mirelon-scan-bench";
    const fs::path dataDir = fs::temp_directory_path() / "mirelon-scan-bench-data";
    std::printf("generating %d files, about %llu MiB, in %s ...\n", kFolders * kFilesPerFolder,
                static_cast<unsigned long long>(kTargetBytes >> 20), tree.c_str());
    Generate(tree);
    fs::create_directories(dataDir);

    const std::string quoted = "'" + tree.string() + "'";
    const std::string md5sum = "find " + quoted + " -type f -print0 | xargs -0 md5sum > /dev/null";
    TimeCommand("find " + quoted + " -type f -print0 | xargs -0 cat > /dev/null"); // warm the cache

    double md5sumBest = 1e9;
    ScanFigures scanBest{1e9, 0, 0};
    for (int round = 0; round < kRounds; ++round) {
        md5sumBest = std::min(md5sumBest, TimeCommand(md5sum));
        const ScanFigures scan = TimeScan(tree.string(), dataDir.string() + "/");
        if (scan.seconds < scanBest.seconds) {
            scanBest = scan;
        }
    }
    const double mb = double(scanBest.bytes) / 1e6;
    std::printf("scan:   %lld files, %.0f MB in %.2f s: %.0f files/s, %.0f MB/s\n",
                static_cast<long long>(scanBest.files), mb, scanBest.seconds,
                double(scanBest.files) / scanBest.seconds, mb / scanBest.seconds);
    std::printf("md5sum: %.2f s: %.0f files/s, %.0f MB/s\n", md5sumBest,
                double(scanBest.files) / md5sumBest, mb / md5sumBest);
    const double ratio = scanBest.seconds / md5sumBest;
    std::printf("target scan_vs_md5sum: %.2f (goal <= %.2f) %s\n", ratio, kGoal,
                ratio <= kGoal ? "met" : "missed");
    fs::remove_all(dataDir);
    if (argc <= 1 && std::getenv("MIRELON_KEEP_BENCH_TREE") == nullptr) {
        fs::remove_all(tree);
    }
    return 0;
}
