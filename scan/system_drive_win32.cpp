#include "scan/drive_info.h"

#include "base/wide_path.h"
#include "scan/disk_values.h"
#include "scan/drive_letters.h"

#include <windows.h>

#include <shellapi.h>

namespace mirelon {

namespace {

// An empty card reader or optical drive must not ask for a medium.
class CriticalErrorsOff {
public:
    CriticalErrorsOff() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~CriticalErrorsOff() { ::SetThreadErrorMode(previous_, nullptr); }
    CriticalErrorsOff(const CriticalErrorsOff&) = delete;
    CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

private:
    DWORD previous_ = 0;
};

class TDriveInfo : public IDriveInfo {
public:
    explicit TDriveInfo(int index) : index_(index) {
        if (index_ < 0 || index_ >= kDriveCount) {
            return;
        }
        root_ = std::wstring(1, static_cast<wchar_t>(L'A' + index_)) + L":\\";
        wchar_t label[MAX_PATH + 1] = {};
        wchar_t fileSystem[MAX_PATH + 1] = {};
        DWORD serial = 0, maxComponent = 0, flags = 0;
        const CriticalErrorsOff errorsOff;
        if (::GetVolumeInformationW(root_.c_str(), label, MAX_PATH + 1, &serial, &maxComponent,
                                    &flags, fileSystem, MAX_PATH + 1)) {
            label_ = TrimmedVolumeText(Utf8Text(label));
            fileSystem_ = TrimmedVolumeText(Utf8Text(fileSystem));
            serial_ = serial;
            flags_ = flags;
        }
    }

    std::shared_ptr<IDiskBoolean> Exists() const override {
        return std::make_shared<TDiskBoolean>(TypeNumber() != kDriveNoDrive);
    }
    std::shared_ptr<IDriveType> DriveType() const override {
        return std::make_shared<TDriveType>(TypeNumber());
    }
    int Index() const override { return index_; }
    std::string Letter() const override {
        return root_.empty() ? std::string() : std::string(1, static_cast<char>('A' + index_));
    }
    std::string RootPath() const override { return Utf8Text(root_); }
    std::string VolumeName() const override { return label_; }
    std::shared_ptr<IDriveFeatures> Features() const override {
        return std::make_shared<TDriveFeatures>(flags_);
    }
    std::shared_ptr<IDriveSpace> Space() const override {
        ULARGE_INTEGER available{}, total{}, free{};
        if (!root_.empty()) {
            const CriticalErrorsOff errorsOff;
            if (!::GetDiskFreeSpaceExW(root_.c_str(), &available, &total, &free)) {
                available.QuadPart = total.QuadPart = free.QuadPart = 0;
            }
        }
        return std::make_shared<TDriveSpace>(total.QuadPart, free.QuadPart, available.QuadPart);
    }
    std::string SerialNumber() const override { return std::to_string(serial_); }
    std::shared_ptr<IDriveShellInfo> ShellInfo() const override {
        SHFILEINFOW info{};
        if (root_.empty() ||
            ::SHGetFileInfoW(root_.c_str(), 0, &info, sizeof info,
                             SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX) == 0) {
            return std::make_shared<TDriveShellInfo>(0, "", "");
        }
        return std::make_shared<TDriveShellInfo>(info.iIcon,
                                                 TrimmedVolumeText(Utf8Text(info.szDisplayName)),
                                                 TrimmedVolumeText(Utf8Text(info.szTypeName)));
    }
    std::string FileSystem() const override { return fileSystem_; }
    bool ShowProperties() const override {
        if (root_.empty()) {
            return false;
        }
        SHELLEXECUTEINFOW request{};
        request.cbSize = sizeof request;
        request.fMask = SEE_MASK_INVOKEIDLIST;
        request.lpVerb = L"properties";
        request.lpFile = root_.c_str();
        request.nShow = SW_SHOW;
        return ::ShellExecuteExW(&request) != FALSE;
    }

private:
    // Asked afresh each time: a medium can come and go.
    int TypeNumber() const {
        return root_.empty() ? kDriveNoDrive : static_cast<int>(::GetDriveTypeW(root_.c_str()));
    }

    int index_;
    std::wstring root_;
    std::string label_;
    std::string fileSystem_;
    uint32_t serial_ = 0;
    uint32_t flags_ = 0;
};

} // namespace

std::shared_ptr<IDriveInfo> SystemDrive(int index) {
    return std::make_shared<TDriveInfo>(index);
}

} // namespace mirelon
