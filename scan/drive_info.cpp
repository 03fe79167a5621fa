#include "scan/drive_info.h"

#include "scan/disk_values.h"
#include "scan/drive_letters.h"
#include "scan/file_system_kind.h"

#include <cctype>
#include <optional>

namespace mirelon {

namespace {

std::string Trimmed(const std::string& text) {
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The 32-bit volume serial a UUID stands for: FAT and exFAT give it whole ("ABCD-1234"), NTFS
// as the low half of its 64-bit serial, other file systems by their first eight hex digits.
uint32_t SerialFromUuid(const std::string& uuid) {
    std::string digits;
    for (const char c : uuid) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (c != '-') {
            return 0;
        }
    }
    if (digits.empty()) {
        return 0;
    }
    if (digits.size() == 16) {
        digits = digits.substr(8);
    } else if (digits.size() > 8) {
        digits.resize(8);
    }
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

std::string TypeNameOf(int typeNumber) {
    switch (typeNumber) {
    case kDriveFixed:
        return "Local Disk";
    case kDriveRemovable:
        return "Removable Disk";
    case kDriveCdRom:
        return "CD Drive";
    case kDriveRemote:
        return "Network Drive";
    case kDriveRam:
        return "RAM Disk";
    case kDriveUnknown:
        return "Drive";
    default:
        return "";
    }
}

class TDriveSpace : public IDriveSpace {
public:
    TDriveSpace(uint64_t total, uint64_t free, uint64_t available)
        : total_(Clamped(total)), free_(Clamped(free)), available_(Clamped(available)) {}
    std::shared_ptr<IDiskHugeNumber> FreeAvailable() const override { return Number(available_); }
    std::shared_ptr<IDiskHugeNumber> Total() const override { return Number(total_); }
    std::shared_ptr<IDiskHugeNumber> TotalFree() const override { return Number(free_); }
    std::shared_ptr<IDiskHugeNumber> Used() const override { return Number(total_ - free_); }

private:
    static int64_t Clamped(uint64_t value) {
        return value > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(value);
    }
    static std::shared_ptr<IDiskHugeNumber> Number(int64_t value) {
        return std::make_shared<TDiskHugeNumber>(value);
    }
    int64_t total_, free_, available_;
};

class TDriveShellInfo : public IDriveShellInfo {
public:
    TDriveShellInfo(std::string displayName, std::string typeName)
        : displayName_(std::move(displayName)), typeName_(std::move(typeName)) {}
    int64_t Icon() const override { return 0; }
    int IconIndex() const override { return 0; }
    std::string DisplayName() const override { return displayName_; }
    std::string TypeName() const override { return typeName_; }

private:
    std::string displayName_, typeName_;
};

// What one drive index showed when its object was made: the mount table is read once, so the
// letter, type and root path always describe the same mounted file system.
class TDriveInfo : public IDriveInfo {
public:
    TDriveInfo(int index, std::shared_ptr<const IMountSource> source)
        : index_(index), source_(std::move(source)) {
        if (index_ < 0 || index_ >= kDriveCount) {
            return;
        }
        auto table = AssignDriveLetters(ParseMountInfo(source_->MountInfoText()));
        mount_ = std::move(table[static_cast<size_t>(index_)]);
        if (!mount_) {
            return;
        }
        const bool isRoot = mount_->mountPoint == "/";
        const bool removable = source_->IsRemovable(mount_->majorMinor);
        typeNumber_ = DriveTypeOf(mount_->fileSystem, isRoot, removable);
        label_ = Trimmed(source_->Label(*mount_));
        serial_ = SerialFromUuid(source_->Uuid(*mount_));
        flags_ = VolumeFlagsOf(mount_->fileSystem, mount_->mountOptions, mount_->superOptions);
    }

    std::shared_ptr<IDiskBoolean> Exists() const override {
        return std::make_shared<TDiskBoolean>(typeNumber_ != kDriveNoDrive);
    }
    std::shared_ptr<IDriveType> DriveType() const override {
        return std::make_shared<TDriveType>(typeNumber_);
    }
    int Index() const override { return index_; }
    std::string Letter() const override {
        return index_ >= 0 && index_ < kDriveCount ? std::string(1, static_cast<char>('A' + index_))
                                                   : std::string();
    }
    std::string RootPath() const override {
        if (!mount_) {
            return "";
        }
        return mount_->mountPoint == "/" ? "/" : mount_->mountPoint + "/";
    }
    std::string VolumeName() const override { return label_; }
    std::shared_ptr<IDriveFeatures> Features() const override {
        return std::make_shared<TDriveFeatures>(flags_);
    }
    std::shared_ptr<IDriveSpace> Space() const override {
        uint64_t total = 0, free = 0, available = 0;
        if (!mount_ || !source_->Space(mount_->mountPoint, total, free, available)) {
            total = free = available = 0;
        }
        return std::make_shared<TDriveSpace>(total, free, available);
    }
    std::string SerialNumber() const override { return std::to_string(serial_); }
    std::shared_ptr<IDriveShellInfo> ShellInfo() const override {
        if (!mount_) {
            return std::make_shared<TDriveShellInfo>("", "");
        }
        const std::string name = label_.empty() ? mount_->mountPoint : label_;
        return std::make_shared<TDriveShellInfo>(name + " (" + Letter() + ":)",
                                                 TypeNameOf(typeNumber_));
    }
    std::string FileSystem() const override { return mount_ ? Trimmed(mount_->fileSystem) : ""; }
    bool ShowProperties() const override { return false; }

private:
    int index_;
    std::shared_ptr<const IMountSource> source_;
    std::optional<MountEntry> mount_;
    int typeNumber_ = kDriveNoDrive;
    std::string label_;
    uint32_t serial_ = 0;
    uint32_t flags_ = 0;
};

} // namespace

IMountSource::~IMountSource() = default;

std::string IMountSource::Label(const MountEntry&) const {
    return "";
}

std::string IMountSource::Uuid(const MountEntry&) const {
    return "";
}

bool IMountSource::Space(const std::string&, uint64_t&, uint64_t&, uint64_t&) const {
    return false;
}

TcxDriveInfo::TcxDriveInfo(std::shared_ptr<const IMountSource> source)
    : source_(std::move(source)) {}

std::shared_ptr<IDriveInfo> TcxDriveInfo::Drive(int index) const {
    return std::make_shared<TDriveInfo>(index, source_);
}

} // namespace mirelon
