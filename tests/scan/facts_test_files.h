#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mirelon::testing {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path root_;
};

struct UnixTime {
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    bool operator==(const UnixTime&) const = default;
};

void SetStoredTimes(const std::string& path, UnixTime accessed, UnixTime modified);
UnixTime StoredAccessTime(const std::string& path);
UnixTime StoredModifiedTime(const std::string& path);
void MakeFifo(const std::string& path);

// Sets TZ for its lifetime and puts the previous value back.
class TScopedTimeZone {
public:
    explicit TScopedTimeZone(const char* zone);
    ~TScopedTimeZone();
    TScopedTimeZone(const TScopedTimeZone&) = delete;
    TScopedTimeZone& operator=(const TScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

} // namespace mirelon::testing
