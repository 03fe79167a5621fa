// Feeds arbitrary text to the mount table parser and the drive table built on it.
#include "scan/drive_info.h"
#include "scan/drive_letters.h"
#include "scan/mount_table.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class FuzzedSource : public mirelon::IMountSource {
public:
    explicit FuzzedSource(std::string text) : text_(std::move(text)) {}
    std::string MountInfoText() const override { return text_; }
    bool IsRemovable(const std::string& majorMinor) const override {
        return !majorMinor.empty() && majorMinor.back() == '1';
    }

private:
    std::string text_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto mounts = mirelon::ParseMountInfo(text);
    for (const auto& mount : mounts) {
        if (mount.mountPoint.empty() || mount.mountPoint.front() != '/') {
            __builtin_trap();
        }
    }
    const auto table = mirelon::AssignDriveLetters(mounts);
    if (table[0] || table[1]) {
        __builtin_trap(); // A and B never hold a drive
    }
    const mirelon::TcxDriveInfo drives(std::make_shared<FuzzedSource>(text));
    for (int index = 0; index < 26; ++index) {
        const auto drive = drives.Drive(index);
        const bool exists = drive->Exists()->Value();
        if (exists != static_cast<bool>(table[static_cast<size_t>(index)]) ||
            (exists && drive->RootPath().back() != '/')) {
            __builtin_trap();
        }
        drive->DriveType()->Text();
        drive->ShellInfo()->DisplayName();
        drive->Features()->ReadOnlyVolume()->Value();
    }
    return 0;
}
