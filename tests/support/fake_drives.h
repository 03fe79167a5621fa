#pragma once

#include "scan/disk_values.h"
#include "scan/drive_info.h"

#include <memory>
#include <string>
#include <vector>

namespace mirelon::test {

// One drive of a test's own drive table: its index, type number and root folder (with its
// trailing separator).
struct FakeDrive {
    int index = 0;
    int type = kDriveFixed;
    std::string root;
};

class FakeDriveInfo : public IDriveInfo {
public:
    FakeDriveInfo(int index, int type, std::string root)
        : index_(index), type_(type), root_(std::move(root)) {}
    std::shared_ptr<IDiskBoolean> Exists() const override {
        return std::make_shared<TDiskBoolean>(type_ != kDriveNoDrive);
    }
    std::shared_ptr<IDriveType> DriveType() const override {
        return std::make_shared<TDriveType>(type_);
    }
    int Index() const override { return index_; }
    std::string Letter() const override { return std::string(1, static_cast<char>('A' + index_)); }
    std::string RootPath() const override { return root_; }
    std::string VolumeName() const override { return ""; }
    std::shared_ptr<IDriveFeatures> Features() const override {
        return std::make_shared<TDriveFeatures>(0);
    }
    std::shared_ptr<IDriveSpace> Space() const override {
        return std::make_shared<TDriveSpace>(0, 0, 0);
    }
    std::string SerialNumber() const override { return "0"; }
    std::shared_ptr<IDriveShellInfo> ShellInfo() const override {
        return std::make_shared<TDriveShellInfo>(0, "", "");
    }
    std::string FileSystem() const override { return ""; }
    bool ShowProperties() const override { return false; }

private:
    int index_;
    int type_;
    std::string root_;
};

// The listed drives; every other letter has none.
inline DriveMaker FakeDrives(std::vector<FakeDrive> drives) {
    return [drives = std::move(drives)](int index) -> std::shared_ptr<IDriveInfo> {
        for (const FakeDrive& drive : drives) {
            if (drive.index == index) {
                return std::make_shared<FakeDriveInfo>(index, drive.type, drive.root);
            }
        }
        return std::make_shared<FakeDriveInfo>(index, kDriveNoDrive, "");
    };
}

} // namespace mirelon::test
