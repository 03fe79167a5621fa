#include "scan/storage_rotation.h"

#include "base/wide_path.h"

#include <windows.h>

#include <winioctl.h>

namespace mirelon {

// The volume that holds the path is asked whether it incurs a seek penalty, which is how
// Windows tells a spinning disk from a solid-state one.
TStorageRotation StorageRotationOf(const std::string& path) {
    wchar_t mountPoint[MAX_PATH + 1];
    wchar_t volume[MAX_PATH + 1];
    if (!GetVolumePathNameW(WideText(path).c_str(), mountPoint, MAX_PATH) ||
        !GetVolumeNameForVolumeMountPointW(mountPoint, volume, MAX_PATH))
        return TStorageRotation::Unknown;
    // "\\?\Volume{...}\" names the volume's root folder; without the last separator, the
    // volume itself.
    std::wstring device(volume);
    if (!device.empty() && device.back() == L'\\')
        device.pop_back();
    const HANDLE handle = CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return TStorageRotation::Unknown;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR penalty{};
    DWORD returned = 0;
    const BOOL answered =
        DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &penalty,
                        sizeof penalty, &returned, nullptr);
    CloseHandle(handle);
    if (!answered || returned < sizeof penalty)
        return TStorageRotation::Unknown;
    return penalty.IncursSeekPenalty ? TStorageRotation::Rotational : TStorageRotation::Solid;
}

} // namespace mirelon
