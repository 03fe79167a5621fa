#include "cli/cli_platform_help.h"

namespace mirelon {

const char* DriveTableHelpText() {
    return "free_bytes (free for you, as df's Avail). C is /; from D on, first the fixed disks that "
           "are no\nloop device, then the other mounted file systems, each in the order of their "
           "mount points.\n";
}

const char* UnreadFormatsHelpText() {
    return "";
}

const char* UnreadFormatsNote() {
    return "";
}

} // namespace mirelon
