#pragma once

#include "scan/drive_info.h"
#include "scan/file_system_kind.h"

#include <locale>

namespace mirelon {

// The type text the scan run compares with "Fixed"; numbers outside the table give "".
std::string DriveTypeText(int number);

// "%d bytes" below 1 Kb, else whole Kb or Mb, else Gb with two decimals; digits grouped and
// the decimal separator placed as `locale` does.
std::string DiskSizeText(int64_t value, const std::locale& locale);

// The user's locale, or the classic one when the environment names none that exists.
const std::locale& UserLocale();

// A label or file system name as a drive reports it: blanks and control characters trimmed at
// both ends.
std::string TrimmedVolumeText(const std::string& text);

class TDiskBoolean : public IDiskBoolean {
public:
    explicit TDiskBoolean(bool value) : value_(value) {}
    bool Value() const override { return value_; }
    std::string YesNo() const override { return value_ ? "Yes" : "No"; }
    std::string OnOff() const override { return value_ ? "On" : "Off"; }

private:
    bool value_;
};

class TDiskHugeNumber : public IDiskHugeNumber {
public:
    explicit TDiskHugeNumber(int64_t value) : value_(value) {}
    int64_t Value() const override { return value_; }
    std::string Text() const override { return DiskSizeText(value_, UserLocale()); }

private:
    int64_t value_;
};

class TDriveType : public IDriveType {
public:
    explicit TDriveType(int number) : number_(number) {}
    int Number() const override { return number_; }
    std::string Text() const override { return DriveTypeText(number_); }

private:
    int number_;
};

// The feature bits of a volume (VolumeFlag values), each as a Boolean.
class TDriveFeatures : public IDriveFeatures {
public:
    explicit TDriveFeatures(uint32_t flags) : flags_(flags) {}
    std::shared_ptr<IDiskBoolean> NamedStreams() const override { return Bit(kNamedStreams); }
    std::shared_ptr<IDiskBoolean> ReadOnlyVolume() const override { return Bit(kReadOnlyVolume); }
    std::shared_ptr<IDiskBoolean> ObjectIds() const override { return Bit(kObjectIds); }
    std::shared_ptr<IDiskBoolean> ReparsePoints() const override { return Bit(kReparsePoints); }
    std::shared_ptr<IDiskBoolean> SparseFiles() const override { return Bit(kSparseFiles); }
    std::shared_ptr<IDiskBoolean> VolumeQuotas() const override { return Bit(kVolumeQuotas); }
    std::shared_ptr<IDiskBoolean> CasePreservedNames() const override {
        return Bit(kCasePreservedNames);
    }
    std::shared_ptr<IDiskBoolean> CaseSensitiveSearch() const override {
        return Bit(kCaseSensitiveSearch);
    }
    std::shared_ptr<IDiskBoolean> FileCompression() const override { return Bit(kFileCompression); }
    std::shared_ptr<IDiskBoolean> Encryption() const override { return Bit(kEncryption); }
    std::shared_ptr<IDiskBoolean> PersistentAcls() const override { return Bit(kPersistentAcls); }
    std::shared_ptr<IDiskBoolean> UnicodeOnDisk() const override { return Bit(kUnicodeOnDisk); }
    std::shared_ptr<IDiskBoolean> VolumeIsCompressed() const override {
        return Bit(kVolumeIsCompressed);
    }

private:
    std::shared_ptr<IDiskBoolean> Bit(uint32_t bit) const {
        return std::make_shared<TDiskBoolean>((flags_ & bit) != 0);
    }
    uint32_t flags_;
};

// The space figures of a drive, taken once; figures past the signed 64-bit range are clamped.
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
    TDriveShellInfo(int iconIndex, std::string displayName, std::string typeName)
        : iconIndex_(iconIndex), displayName_(std::move(displayName)),
          typeName_(std::move(typeName)) {}
    // No icon handle is asked for.
    int64_t Icon() const override { return 0; }
    int IconIndex() const override { return iconIndex_; }
    std::string DisplayName() const override { return displayName_; }
    std::string TypeName() const override { return typeName_; }

private:
    int iconIndex_;
    std::string displayName_, typeName_;
};

} // namespace mirelon
