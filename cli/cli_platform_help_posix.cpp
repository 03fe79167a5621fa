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

const char* RemovalHelpText() {
    return "the others to the desktop trash, where a file manager can restore them. Before a file is\n"
           "touched it is checked against its catalog row: its size and the stamp the scan recorded\n"
           "(device, inode, times), or without a stamp its checksum computed again.\n";
}

} // namespace mirelon
