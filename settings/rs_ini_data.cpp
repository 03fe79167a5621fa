#include "settings/rs_ini_data.h"

#include "settings/rs_file.h"
#include "settings/rs_ini_reader.h"
#include "settings/rs_ini_writer.h"

#include <cstdio>

namespace mirelon {

std::string SettingsFileName(const std::string& dataDirectory, const std::string& executablePath) {
    std::string name = executablePath.substr(executablePath.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot != 0)
        name.erase(dot);
    std::string fileName = dataDirectory;
    if (!fileName.empty() && fileName.back() != '/')
        fileName += '/';
    return fileName + name + ".ini";
}

std::string SettingsFileName(const std::string& dataDirectory) {
    return SettingsFileName(dataDirectory, RunningExecutablePath());
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
