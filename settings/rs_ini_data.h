#pragma once

#include "settings/rs_storage_data.h"

#include <string>

namespace mirelon {

// The settings file: the data directory plus the executable's file name with its extension
// replaced by ".ini" ("mirelon" gives "mirelon.ini").
std::string SettingsFileName(const std::string& dataDirectory, const std::string& executablePath);
// The same for the running program.
std::string SettingsFileName(const std::string& dataDirectory);

// The INI file back end of a TrsStorage.
class TrsIniData : public TrsStorageData {
public:
    explicit TrsIniData(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // A missing file adds nothing. A file that cannot be read, or only in part, adds what could
    // be read and notes the failure on standard error: start-up goes on either way.
    void Load(TrsStorage& storage) override;
    // Replaces the file whole and in one step; throws EFCreateError, leaving the old file intact.
    void Save(const TrsStorage& storage) override;
    std::string Location() const override { return fileName_; }

private:
    std::string fileName_;
};

} // namespace mirelon
