#include "scan/drive_info.h"

#include <cctype>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace mirelon {

namespace {

std::string ReadSmallFile(const std::string& path) {
    std::string text;
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        return text;
    }
    char buffer[16384];
    ssize_t count;
    while ((count = ::read(handle, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(count));
    }
    ::close(handle);
    return text;
}

bool IsMajorMinor(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (i != colon && !std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

std::string RealPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return "";
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

// udev writes unsafe characters of labels as "\xHH".
std::string DecodeUdevName(const std::string& name) {
    std::string decoded;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            decoded += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

bool IsDeviceOf(const std::string& link, const MountEntry& mount) {
    struct stat status;
    if (::stat(link.c_str(), &status) == 0 && S_ISBLK(status.st_mode) &&
        std::to_string(major(status.st_rdev)) + ":" + std::to_string(minor(status.st_rdev)) ==
            mount.majorMinor) {
        return true;
    }
    // File systems such as btrfs report a device number of their own; their source still names
    // the block device.
    const std::string source = RealPath(mount.source);
    return !source.empty() && source == RealPath(link);
}

// The name of the link in /dev/disk/<folder> that leads to the mount's device.
std::string DiskLinkName(const char* folder, const MountEntry& mount) {
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string("/dev/disk/") + folder, error)) {
        if (IsDeviceOf(entry.path().string(), mount)) {
            return DecodeUdevName(entry.path().filename().string());
        }
    }
    return "";
}

class SystemSource : public IMountSource {
public:
    std::string MountInfoText() const override { return ReadSmallFile("/proc/self/mountinfo"); }

    bool IsRemovable(const std::string& majorMinor) const override {
        if (!IsMajorMinor(majorMinor)) {
            return false;
        }
        // A partition's folder has no "removable" of its own; its disk's folder, above it, has.
        const std::string device = "/sys/dev/block/" + majorMinor;
        std::string flag = ReadSmallFile(device + "/removable");
        if (flag.empty() && ::access((device + "/partition").c_str(), F_OK) == 0) {
            flag = ReadSmallFile(device + "/../removable");
        }
        return !flag.empty() && flag[0] == '1';
    }

    std::string Label(const MountEntry& mount) const override {
        return DiskLinkName("by-label", mount);
    }

    std::string Uuid(const MountEntry& mount) const override {
        return DiskLinkName("by-uuid", mount);
    }

    bool Space(const std::string& mountPoint, uint64_t& total, uint64_t& free,
               uint64_t& available) const override {
        struct statvfs figures;
        if (::statvfs(mountPoint.c_str(), &figures) != 0) {
            return false;
        }
        total = static_cast<uint64_t>(figures.f_blocks) * figures.f_frsize;
        free = static_cast<uint64_t>(figures.f_bfree) * figures.f_frsize;
        available = static_cast<uint64_t>(figures.f_bavail) * figures.f_frsize;
        return true;
    }
};

} // namespace

std::shared_ptr<const IMountSource> SystemMountSource() {
    static const auto source = std::make_shared<const SystemSource>();
    return source;
}

} // namespace mirelon
