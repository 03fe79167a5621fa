#include "scan/drive_info.h"

#include "scan/disk_values.h"
#include "scan/drive_letters.h"
#include "scan/file_system_kind.h"

#include <cctype>
#include <optional>

namespace mirelon {

namespace {

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

// What one drive index showed when its object was made: the mount table is read once, so the
// letter, type and root path always describe the same mounted file system.
class TDriveInfo : public IDriveInfo {
public:
    TDriveInfo(int index, std::shared_ptr<const IMountSource> source)
        : index_(index), source_(std::move(source)) {
        if (index_ < 0 || index_ >= kDriveCount) {
            return;
        }
        auto table = AssignDriveLetters(
            ParseMountInfo(source_->MountInfoText()),
            [this](const std::string& device) { return source_->IsRemovable(device); });
        mount_ = std::move(table[static_cast<size_t>(index_)]);
        if (!mount_) {
            return;
        }
        const bool isRoot = mount_->mountPoint == "/";
        const bool removable = source_->IsRemovable(mount_->majorMinor);
        typeNumber_ = DriveTypeOf(mount_->fileSystem, isRoot, removable);
        label_ = TrimmedVolumeText(source_->Label(*mount_));
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
            return std::make_shared<TDriveShellInfo>(0, "", "");
        }
        const std::string name = label_.empty() ? mount_->mountPoint : label_;
        return std::make_shared<TDriveShellInfo>(0, name + " (" + Letter() + ":)",
                                                 TypeNameOf(typeNumber_));
    }
    std::string FileSystem() const override {
        return mount_ ? TrimmedVolumeText(mount_->fileSystem) : "";
    }
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

std::shared_ptr<IDriveInfo> MountedDrive(int index, std::shared_ptr<const IMountSource> source) {
    return std::make_shared<TDriveInfo>(index, std::move(source));
}

TcxDriveInfo::TcxDriveInfo(std::shared_ptr<const IMountSource> source)
    : maker_([source = std::move(source)](int index) { return MountedDrive(index, source); }) {}

TcxDriveInfo::TcxDriveInfo(DriveMaker maker) : maker_(std::move(maker)) {}

std::shared_ptr<IDriveInfo> TcxDriveInfo::Drive(int index) const {
    return maker_ ? maker_(index) : SystemDrive(index);
}

} // namespace mirelon
