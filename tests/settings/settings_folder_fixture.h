#pragma once

#include "base/utf8_path.h"
#include "settings/rs_ini_data.h"
#include "settings/rs_storage.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace mirelon {

// A settings file in a fresh folder of its own.
class SettingsFolder : public testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return temp_.File(name); }

    static void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void Attach(TrsStorage& storage, const std::string& path) {
        storage.SetStorageData(std::make_unique<TrsIniData>(path));
    }

    test::TTempFolder temp_;
    std::filesystem::path folder_ = PathFromUtf8(temp_.Path());
};

} // namespace mirelon
