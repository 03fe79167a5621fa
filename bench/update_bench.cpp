// Keeps the catalog of a generated tree of 100,000 files current. After a fresh scan, an update
// with nothing changed is timed against `find TREE -type f -printf '%s %T@ %C@ %i\n'`, the cost
// of one look at each file's directory entry (best of three each, warm cache). Then 1 % of the
// files are edited, 1 % deleted and 1 % added, and the bytes the next update hashes are set
// against the bytes of the edited and added files.
#include "bench/command_timing.h"
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

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 100;
constexpr int kChangedEvery = 100; // 1 %
constexpr uint64_t kMaxFileSize = 8192;
constexpr int kRounds = 3;
constexpr double kStatWalkGoal = 3.0;
constexpr double kRehashGoal = 1.05;

uint64_t Next(uint64_t& state) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

fs::path FilePath(const fs::path& tree, int index) {
    return tree / ("d" + std::to_string(index / kFilesPerFolder)) /
           ("file" + std::to_string(index % kFilesPerFolder));
}

// Returns the size written.
uint64_t WriteFile(const fs::path& path, uint64_t& state) {
    const uint64_t size = Next(state) % kMaxFileSize;
    std::vector<char> bytes(size);
    for (char& byte : bytes) {
        byte = static_cast<char>(Next(state));
    }
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(size));
    return size;
}

// Dated an hour back, like files on a disk: a file written moments before it is hashed is
// hashed again by the next update.
void Generate(const fs::path& tree) {
    fs::remove_all(tree);
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (int index = 0; index < kFolders * kFilesPerFolder; ++index) {
        const fs::path path = FilePath(tree, index);
        if (index % kFilesPerFolder == 0) {
            fs::create_directories(path.parent_path());
        }
        WriteFile(path, state);
        fs::last_write_time(path, hourAgo);
    }
}

using bench::Seconds;
using bench::TimeCommand;

struct ScanFigures {
    double seconds = 0;
    mirelon::ScanCounts counts;
    uint64_t bytesHashed = 0;
};

ScanFigures Scan(const std::string& tree, const std::string& dataDir, int mode) {
    using namespace mirelon;
    TScanFiles scanner;
    TcxDriveInfo drives;
    TScanOptions options; // MD5
    options.SetFreshScanIndex(mode);
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run(scanner, drives, options, exclusions, progress);
    run.SetRoots({tree});
    std::unique_ptr<TSQLiteDatabase> catalog;
    const auto start = std::chrono::steady_clock::now();
    const ScanOutcome outcome = RunScanNow(run, catalog, dataDir, options);
    catalog.reset();
    ScanFigures figures{Seconds(start), run.Counts(), run.BytesHashed()};
    if (!outcome.error.empty() || run.SkippedCount() > 0) {
        std::fprintf(stderr, "scan failed: %s %s\n", outcome.error.c_str(),
                     run.SkippedHint().c_str());
        std::exit(1);
    }
    return figures;
}

void PrintCounts(const char* what, const ScanFigures& figures) {
    std::printf("%s: %.3f s, %lld unchanged, %lld changed, %lld new, %lld removed, %llu bytes "
                "hashed\n",
                what, figures.seconds, static_cast<long long>(figures.counts.unchanged),
                static_cast<long long>(figures.counts.changed),
                static_cast<long long>(figures.counts.added),
                static_cast<long long>(figures.counts.removed),
                static_cast<unsigned long long>(figures.bytesHashed));
}

} // namespace

int main(int argc, char** argv) {
    using mirelon::kFreshScanUpdate;
    using mirelon::kFreshScanYes;
    const fs::path tree =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "mirelon-update-bench";
    const fs::path dataDir = fs::temp_directory_path() / "mirelon-update-bench-data";
    const int files = kFolders * kFilesPerFolder;
    std::printf("generating %d files in %s ...\n", files, tree.c_str());
    Generate(tree);
    fs::remove_all(dataDir);
    fs::create_directories(dataDir);
    const std::string data = dataDir.string() + "/";

    PrintCounts("fresh scan", Scan(tree.string(), data, kFreshScanYes));

    const std::string statWalk =
        "find '" + tree.string() + "' -type f -printf '%s %T@ %C@ %i\\n' > /dev/null";
    double findBest = 1e9;
    ScanFigures updateBest{1e9, {}, 0};
    for (int round = 0; round < kRounds; ++round) {
        findBest = std::min(findBest, TimeCommand(statWalk));
        const ScanFigures update = Scan(tree.string(), data, kFreshScanUpdate);
        if (update.counts.unchanged != files) {
            PrintCounts("update with nothing changed", update);
            std::fprintf(stderr, "the update took unchanged files for changed\n");
            return 1;
        }
        updateBest = std::min(updateBest, update,
                              [](const auto& a, const auto& b) { return a.seconds < b.seconds; });
    }
    PrintCounts("update with nothing changed", updateBest);
    std::printf("find -printf: %.3f s\n", findBest);

    uint64_t state = 0xD1B54A32D192ED03ULL;
    uint64_t bytesWritten = 0;
    for (int index = 0; index < files; index += kChangedEvery) {
        bytesWritten += WriteFile(FilePath(tree, index), state);
        fs::remove(FilePath(tree, index + 1));
        bytesWritten += WriteFile(FilePath(tree, index).string() + ".added", state);
    }
    const ScanFigures afterEdits = Scan(tree.string(), data, kFreshScanUpdate);
    PrintCounts("update after edits", afterEdits);
    std::printf("edited and added: %llu bytes\n", static_cast<unsigned long long>(bytesWritten));

    const double statRatio = updateBest.seconds / findBest;
    std::printf("target update_unchanged_vs_statwalk: %.2f (goal <= %.1f) %s\n", statRatio,
                kStatWalkGoal, statRatio <= kStatWalkGoal ? "met" : "missed");
    const double bytesRatio = static_cast<double>(afterEdits.bytesHashed) /
                              static_cast<double>(std::max<uint64_t>(bytesWritten, 1));
    std::printf("target update_rehashed_bytes_ratio: %.2f (goal <= %.2f) %s\n", bytesRatio,
                kRehashGoal, bytesRatio <= kRehashGoal ? "met" : "missed");
    fs::remove_all(dataDir);
    if (argc <= 1) {
        fs::remove_all(tree);
    }
    return 0;
}
