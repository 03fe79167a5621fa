#include "cli/cli_platform_help.h"

namespace mirelon {

const char* DriveTableHelpText() {
    return "free_bytes (free for you). The drives are Windows' own; one that is not ready (an\n"
           "empty card reader) is listed with its type and no label or size.\n";
}

// ELF files are read with libelf, which has no Windows build here.
const char* UnreadFormatsHelpText() {
    return "\nOn Windows ELF files are not read yet: they are catalogued like any other file,\n"
           "without the libraries they need or their soname, so only a catalog made on Linux\n"
           "lists ELF shared libraries among the unused ones.\n";
}

const char* UnreadFormatsNote() {
    return "mirelon-cli: on Windows ELF files are not read yet; ELF shared libraries are listed "
           "only from a catalog made on Linux\n";
}

const char* RemovalHelpText() {
    return "the others to the Recycle Bin, where Explorer can restore them. Before a file is touched\n"
           "it is checked against its catalog row: its size and the stamp the scan recorded (volume\n"
           "serial number, file index, times), or without a stamp its checksum computed again.\n";
}

} // namespace mirelon
