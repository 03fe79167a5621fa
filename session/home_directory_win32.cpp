#include "session/data_directory.h"

#include "base/wide_path.h"

#include <cstdlib>

namespace mirelon {

std::string HomeDirectory() {
    // The user's profile folder is what Windows has for a home.
    const wchar_t* profile = ::_wgetenv(L"USERPROFILE");
    return profile != nullptr ? Utf8Text(profile) : std::string();
}

} // namespace mirelon
