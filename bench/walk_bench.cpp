// Walks a generated tree of about 100,000 files with TScanFiles and, in the same run, times
// `find TREE -type f` over it; both run on a warm cache, best of several rounds.
#include "bench/walk_bench_find.h"
#include "scan/scan_files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kFanOut = 10;          // folders per level, three levels
constexpr int kFilesPerFolder = 100; // in each of the 1,000 deepest folders
constexpr int kRounds = 5;
constexpr double kGoal = 0.8;

namespace fs = std::filesystem;

size_t GeneratedFileCount() {
    return size_t{kFanOut} * kFanOut * kFanOut * kFilesPerFolder;
}

// Reuses a complete tree left by an earlier run; the marker is written last.
void Generate(const fs::path& tree) {
    const fs::path marker = tree / "complete";
    if (fs::exists(marker)) {
        return;
    }
    fs::remove_all(tree);
    for (int a = 0; a < kFanOut; ++a) {
        for (int b = 0; b < kFanOut; ++b) {
            for (int c = 0; c < kFanOut; ++c) {
                const fs::path folder = tree / ("level1_" + std::to_string(a)) /
                                        ("level2_" + std::to_string(b)) /
                                        ("level3_" + std::to_string(c));
                fs::create_directories(folder);
                for (int f = 0; f < kFilesPerFolder; ++f) {
                    std::ofstream(folder / ("file_" + std::to_string(f) + ".dat")) << f;
                }
            }
        }
    }
    std::ofstream(marker) << "done";
}

double TimeWalkSeconds(const std::string& tree, size_t& files) {
    mirelon::TScanFiles scanner;
    scanner.SetPath(tree);
    files = 0;
    scanner.SetOnFoundFile([&](mirelon::TCustomScanFiles&, const std::string&, bool&) { ++files; });
    const auto start = std::chrono::steady_clock::now();
    scanner.Execute();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    const fs::path tree = fs::temp_directory_path() / "mirelon_walk_bench_tree";
    Generate(tree);
    const size_t expected = GeneratedFileCount() + 1; // the marker too
    std::printf("walk_bench: tree %s, %zu files\n", tree.c_str(), expected);

    size_t files = 0;
    TimeWalkSeconds(tree.string(), files); // warms the cache for both
    double walkBest = 1e9, findBest = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        walkBest = std::min(walkBest, TimeWalkSeconds(tree.string(), files));
        const double find = TimeFindSeconds(tree.string());
        if (find < 0) {
            std::printf("find could not be run\n");
            fs::remove_all(tree);
            return 1;
        }
        findBest = std::min(findBest, find);
    }
    if (files != expected) {
        std::printf("walk reported %zu files, expected %zu\n", files, expected);
    }
    const double walkRate = static_cast<double>(files) / walkBest;
    const double findRate = static_cast<double>(expected) / findBest;
    const double ratio = walkRate / findRate;
    std::printf("TScanFiles walk: %.4f s, %.0f files/s\n", walkBest, walkRate);
    std::printf("find -type f:    %.4f s, %.0f files/s\n", findBest, findRate);
    std::printf("ratio walk/find: %.2f\n", ratio);
    fs::remove_all(tree);
    std::printf("target walk_vs_find: %.2f (goal >= %.1f) %s\n", ratio, kGoal,
                ratio >= kGoal && files == expected ? "met" : "missed");
    return 0;
}
