#pragma once

#include "scan/scan_files.h"

#include <string>
#include <vector>

namespace mirelon::testing {

// Events of a walk, in order: "D " + folder path, "F " + file path, "E" for OnEndScan.
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
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        for (const auto& event : events) {
            if (event.rfind("F ", 0) == 0) {
                files.push_back(event.substr(2));
            }
        }
        return files;
    }

    std::vector<std::string> Folders() const {
        std::vector<std::string> folders;
        for (const auto& event : events) {
            if (event.rfind("D ", 0) == 0) {
                folders.push_back(event.substr(2));
            }
        }
        return folders;
    }
};

} // namespace mirelon::testing
