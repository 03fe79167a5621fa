#pragma once

#include "scan/drive_info.h"

#include <map>
#include <set>
#include <string>

namespace mirelon::test {

// A mount table given as text, with labels, UUIDs and space figures keyed by mount point.
class FakeMountSource : public IMountSource {
public:
    std::string text;
    std::set<std::string> removable; // "major:minor"
    std::map<std::string, std::string> labels, uuids;
    mutable int reads = 0;

    std::string MountInfoText() const override {
        ++reads;
        return text;
    }
    bool IsRemovable(const std::string& majorMinor) const override {
        return removable.count(majorMinor) != 0;
    }
    std::string Label(const MountEntry& mount) const override {
        const auto found = labels.find(mount.mountPoint);
        return found == labels.end() ? "" : found->second;
    }
    std::string Uuid(const MountEntry& mount) const override {
        const auto found = uuids.find(mount.mountPoint);
        return found == uuids.end() ? "" : found->second;
    }
    bool Space(const std::string& mountPoint, uint64_t& total, uint64_t& free,
               uint64_t& available) const override {
        if (mountPoint != "/") {
            return false;
        }
        total = 1000, free = 400, available = 300;
        return true;
    }
};

} // namespace mirelon::test
