#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace mirelon {

// A fresh directory under the system temp folder, removed with everything in it afterwards.
class TTempDirectory {
public:
    TTempDirectory() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        do
            path_ = base / ("mirelon-catalog-" + std::to_string(random()));
        while (!std::filesystem::create_directory(path_));
    }
    ~TTempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TTempDirectory(const TTempDirectory&) = delete;
    TTempDirectory& operator=(const TTempDirectory&) = delete;

    // With a trailing separator, the way the data directory is passed around.
    std::string Slashed() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace mirelon
