#include "scan/block_device_rotation.h"

#include "scan/mount_table.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace mirelon {

namespace {

namespace fs = std::filesystem;

// Loop devices backed by files on loop devices, and device-mapper stacks, end well before this.
constexpr int kMaxDepth = 8;

std::string FirstLineOf(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool ParseMajorMinor(const std::string& text, uint32_t& major, uint32_t& minor) {
    unsigned high = 0;
    unsigned low = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%u:%u%c", &high, &low, &end) != 2)
        return false;
    major = high;
    minor = low;
    return true;
}

// Spinning wins: one spinning device under a stack makes its reads seek.
TStorageRotation Combined(TStorageRotation a, TStorageRotation b) {
    if (a == TStorageRotation::Rotational || b == TStorageRotation::Rotational)
        return TStorageRotation::Rotational;
    if (a == TStorageRotation::Solid || b == TStorageRotation::Solid)
        return TStorageRotation::Solid;
    return TStorageRotation::Unknown;
}

} // namespace

TBlockDeviceRotation::TBlockDeviceRotation(std::string sysRoot, std::string mountInfo)
    : sysRoot_(std::move(sysRoot)), mountInfo_(std::move(mountInfo)) {}

TStorageRotation TBlockDeviceRotation::OfPath(const std::string& path) const {
    return OfPath(path, 0);
}

TStorageRotation TBlockDeviceRotation::OfDevice(uint32_t major, uint32_t minor) const {
    return OfDevice(major, minor, 0);
}

TStorageRotation TBlockDeviceRotation::OfPath(const std::string& path, int depth) const {
    struct stat status {};
    if (depth > kMaxDepth || stat(path.c_str(), &status) != 0)
        return TStorageRotation::Unknown;
    if (major(status.st_dev) != 0)
        return OfDevice(major(status.st_dev), minor(status.st_dev), depth);

    // Major 0: a file system numbered on its own (btrfs, overlays, tmpfs, network). Its mount
    // may name the block device it lives on.
    const std::string number =
        std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev));
    for (const MountEntry& mount : ParseMountInfo(mountInfo_)) {
        if (mount.majorMinor != number || mount.source.rfind("/dev/", 0) != 0)
            continue;
        std::error_code error;
        const fs::path device = fs::canonical(mount.source, error); // /dev/mapper/x -> dm-0
        const std::string name = (error ? fs::path(mount.source) : device).filename().string();
        uint32_t high = 0;
        uint32_t low = 0;
        if (ParseMajorMinor(FirstLineOf(fs::path(sysRoot_) / "class/block" / name / "dev"), high,
                            low))
            return OfDevice(high, low, depth + 1);
    }
    return TStorageRotation::Unknown;
}

TStorageRotation TBlockDeviceRotation::OfDevice(uint32_t major, uint32_t minor, int depth) const {
    std::error_code error;
    const fs::path folder = fs::canonical(fs::path(sysRoot_) / "dev/block" /
                                              (std::to_string(major) + ":" + std::to_string(minor)),
                                          error);
    if (error || depth > kMaxDepth)
        return TStorageRotation::Unknown;
    return OfDeviceFolder(folder.string(), depth);
}

TStorageRotation TBlockDeviceRotation::OfDeviceFolder(const std::string& path, int depth) const {
    if (depth > kMaxDepth)
        return TStorageRotation::Unknown;
    std::error_code error;
    fs::path folder(path);
    if (fs::exists(folder / "partition", error))
        folder = folder.parent_path();

    // A loop device reads the file behind it: that file's drive decides. A deleted file says
    // "(deleted)" after its name and falls back to the loop's own flag.
    const std::string backingFile = FirstLineOf(folder / "loop/backing_file");
    if (!backingFile.empty()) {
        const TStorageRotation backing = OfPath(backingFile, depth + 1);
        if (backing != TStorageRotation::Unknown)
            return backing;
    }

    TStorageRotation under = TStorageRotation::Unknown;
    for (const fs::directory_entry& slave : fs::directory_iterator(folder / "slaves", error)) {
        const fs::path slaveFolder = fs::canonical(slave.path(), error);
        if (!error)
            under = Combined(under, OfDeviceFolder(slaveFolder.string(), depth + 1));
    }
    if (under != TStorageRotation::Unknown)
        return under;

    const std::string flag = FirstLineOf(folder / "queue/rotational");
    if (flag == "1")
        return TStorageRotation::Rotational;
    if (flag == "0")
        return TStorageRotation::Solid;
    return TStorageRotation::Unknown;
}

} // namespace mirelon
