#include "session/data_directory.h"

#include "base/ascii_case.h"
#include "base/utf8_path.h"
#include "base/wide_path.h"

#include <cstdlib>
#include <stdexcept>

namespace mirelon {

// The folder keeps its English name on every language of Windows; only Explorer translates it.
bool IsInstalledProgramDirectory(const std::string& executableDirectory) {
    for (const auto& part : PathFromUtf8(executableDirectory)) {
        const std::string name = Utf8FromPath(part);
        if (EqualIgnoringAsciiCase(name, "Program Files") ||
            EqualIgnoringAsciiCase(name, "Program Files (x86)")) {
            return true;
        }
    }
    return false;
}

std::string InstalledDataDirectory() {
    const wchar_t* localAppData = ::_wgetenv(L"LOCALAPPDATA");
    const std::string directory = LocalAppDataDirectory(
        localAppData != nullptr ? Utf8Text(localAppData) : std::string(), HomeDirectory());
    if (directory.empty()) {
        throw std::runtime_error("cannot tell where to keep the catalog: neither LOCALAPPDATA "
                                 "nor USERPROFILE is set");
    }
    return directory;
}

} // namespace mirelon
