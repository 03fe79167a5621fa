#pragma once

namespace mirelon {

// The parts of the commands' help that differ between the platforms.

// What the drive table is made of, for `drives --help`.
const char* DriveTableHelpText();

// What the scan does not read on this platform yet, for `scan --help` and `unused-dlls --help`;
// empty where it reads everything.
const char* UnreadFormatsHelpText();
// The same in one line, which `unused-dlls` writes to standard error; empty where nothing is
// left unread.
const char* UnreadFormatsNote();

// Where `remove-duplicates` moves files and what identifies a file there, for its help.
const char* RemovalHelpText();

} // namespace mirelon
