#pragma once

#include "scan/scan_files.h"

#include <string>
#include <vector>

namespace mirelon::testing {

// Events of a walk, in order: "D " + folder path, "F " + file path, "X " + folder path + ": " +
// reason for a folder that could not be listed or entered, "E" for OnEndScan.
struct ScanEvents {
    std::vector<std::string> events;

    void Attach(TCustomScanFiles& scanner) {
        scanner.SetOnBeforeScanDir([this](TCustomScanFiles&, const std::string& name, bool&) {
            events.push_back("D " + name);
        });
        scanner.SetOnFoundFile([this](TCustomScanFiles&, const std::string& name, bool&) {
            events.push_back("F " + name);
        });
        scanner.SetOnEndScan([this](TCustomScanFiles&) { events.push_back("E"); });
        scanner.SetOnScanDirFailed(
            [this](TCustomScanFiles&, const std::string& name, const std::string& reason) {
                events.push_back("X " + name + ": " + reason);
            });
    }

    std::vector<std::string> Failed() const { return WithTag("X "); }

    std::vector<std::string> Files() const { return WithTag("F "); }
    std::vector<std::string> Folders() const { return WithTag("D "); }

private:
    std::vector<std::string> WithTag(const char* tag) const {
        std::vector<std::string> found;
        for (const auto& event : events) {
            if (event.rfind(tag, 0) == 0) {
                found.push_back(event.substr(2));
            }
        }
        return found;
    }
};

} // namespace mirelon::testing
