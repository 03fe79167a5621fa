#include "settings/rs_ini_data.h"

#include "base/executable_path.h"
#include "base/utf8_path.h"
#include "settings/rs_file.h"
#include "settings/rs_ini_reader.h"
#include "settings/rs_ini_writer.h"

#include <cstdio>

namespace mirelon {

std::string SettingsFileName(const std::string& dataDirectory, const std::string& executablePath) {
    // The stem keeps a name that only starts with a dot whole, as a name without extension.
    const std::filesystem::path name = PathFromUtf8(executablePath).filename().stem();
    return Utf8FromPath(PathFromUtf8(dataDirectory) / name) + ".ini";
}

std::string SettingsFileName(const std::string& dataDirectory) {
    return SettingsFileName(dataDirectory, ExecutablePath());
}

void TrsIniData::Load(TrsStorage& storage) {
    std::string text;
    const TrsFileReadResult result = ReadWholeFile(fileName_, text);
    if (!result.error.empty())
        std::fprintf(stderr, "Cannot read file \"%s\". %s\n", fileName_.c_str(),
                     result.error.c_str());
    ReadIniText(text, storage);
}

void TrsIniData::Save(const TrsStorage& storage) {
    ReplaceFile(fileName_, IniText(storage));
}

} // namespace mirelon
