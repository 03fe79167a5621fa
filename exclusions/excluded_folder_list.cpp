#include "exclusions/excluded_folder_list.h"

#include "base/utf8_path.h"
#include "exclusions/item_identity.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace mirelon {

namespace {

bool Contains(const std::vector<std::string>& paths, const std::string& path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}

} // namespace

std::vector<std::string> ExcludedFolderList(const TCheckStateStore& store,
                                            const std::vector<std::string>& driveScanPaths) {
    // The store is copied under its lock and the disk asked afterwards, so a slow disk never
    // holds up the window thread's ticking.
    const std::vector<TStoredItem> items = store.ItemsInOrder();
    std::vector<std::string> list;
    for (const TStoredItem& item : items) {
        if ((item.StorageFlags & kStoresCheckState) == 0 || item.CheckState != csCheckedNormal) {
            continue;
        }
        const auto path = PathOfIdentity(item.Identity);
        if (!path) {
            continue;
        }
        const std::string asDriveRoot = PathWithSeparator(*path);
        if (Contains(driveScanPaths, asDriveRoot)) {
            list.push_back(asDriveRoot);
            continue;
        }
        std::error_code error;
        if (std::filesystem::exists(PathFromUtf8(*path), error)) {
            list.push_back(*path);
        }
    }
    return list;
}

} // namespace mirelon
