#include "cli/cli_help.h"

#include "cli/cli_platform_help.h"

namespace mirelon {

namespace {

constexpr const char* kOverview = R"(Usage: mirelon-cli COMMAND [OPTION]... [ARGUMENT]...
Catalogues files into an SQLite catalog and answers from it, like the Mirelon window program.

Commands:
  scan               catalogue the files of folders (default: every fixed drive)
  duplicates         list the catalogued files whose checksum another file shares
  remove-duplicates  keep one file of each group of copies, move the others to the trash
  old                list the catalogued files not accessed for some months
  unused-dlls        list catalogued libraries that no catalogued file needs
  drives             list the drive table
  hash               print checksums of files, like md5sum

Run 'mirelon-cli COMMAND --help' for a command's options.
The catalog is files.db in the data folder unless --db names another: the folder of the
executables while they run from where they were built, and $XDG_DATA_HOME/mirelon/ (by default
~/.local/share/mirelon/, made when missing) once they are installed in a bin folder. On Windows
it is the folder of mirelon-cli.exe, or %LOCALAPPDATA%\Mirelon\ when that folder is inside
"Program Files". The window program keeps its settings and exclusion lists there too.

Exit status: 0 success; 1 files or folders skipped, files not hashed or not removed, or the
catalog could not be used; 2 bad command line; 129 stopped by a closed terminal (SIGHUP); 130
stopped by Ctrl-C; 143 stopped by a request to stop (SIGTERM). A stopped scan keeps the rows so
far; a stopped removal ends after the file at hand. On Windows Ctrl-Break counts as Ctrl-C,
closing the console window as a closed terminal, and logging off or shutting down as a request
to stop.
)";

constexpr const char* kScan =
    R"(Usage: mirelon-cli scan [--method NAME] [--continue | --update] [--exclude DIR]... [--jobs N] [--db PATH] [--quiet] [ROOT]...
Catalogue every file under the ROOT folders, or under every fixed drive when no ROOT is
given, one catalog row per file with its size, checksum, times, imported modules and version
strings; an ELF file gets the libraries it needs as its imported modules and its soname as its
internal name.

  --method NAME   checksum method: MD2, MD4, MD5 (default), CRC32, CRC32B, ADLER32, GOST,
                  HAVAL128, HAVAL160, HAVAL192, HAVAL224, HAVAL256, SHA1, SHA256, SHA384,
                  SHA512, TIGER128, TIGER160, TIGER192, RIPEMD128 or RIPEMD160
  --continue      keep the catalog and add only files it does not hold yet; without this
                  or --update the old catalog is deleted first, if it is one (anything
                  else in its place stops the scan); the method must be the catalog's
  --update        keep the catalog true: hash again only files that changed (their size,
                  times or identity differ from when they were catalogued), add new ones,
                  and remove the rows of files gone from the folders walked; rows of other
                  file systems and of roots not named stay; another method than the
                  catalog's hashes every file again
  --exclude DIR   leave out this folder and everything under it (may be repeated)
  -j, --jobs N    read files on N threads (1 to 64) while one thread writes the catalog;
                  by default one per processor, or 1 when a ROOT lies on a spinning disk;
                  with MD5 or MD4 each thread hashes up to 16 small files side by side;
                  the rows and their order are the same for every N
  --db PATH       the catalog: a folder, or a file named files.db in one
  -q, --quiet     no progress line (it is shown only while standard error is a terminal)
  -h, --help      show this text

Every ROOT must be a folder that can be listed, or nothing is done. A ROOT named twice, or
inside another ROOT on the same file system, is scanned once, with a note.
Ctrl-C, a closed terminal or a request to stop (SIGTERM) ends the scan at the next folder: the
rows so far are committed and the exit status is 130, 129 or 143.
At the end a summary names the files skipped, the folders that could not be listed or entered
(with the system's reason; their files are left out), the files catalogued without a checksum,
and those with a date before 1601 or after 9999, which is stored as 1601-01-01 or 9999-12-31
23:59:59; after an update it says how many files were unchanged, changed, new and removed. A
stopped or failed update removes no row; the next one finishes the job. Names are stored whole:
only '/' separates them. A catalog that cannot take a row (a full disk) ends the scan at once,
keeping the rows committed. A file written to while it is read is read again once, and skipped
if it changes again.
)";

constexpr const char* kQueryOptions =
    R"(  --db PATH       the catalog: a folder, or a file named files.db in one
  --format FMT    tsv (default), csv or json
  -h, --help      show this text

Columns: fldFullPath, fldFileName, fldFileExtension, fldFileSize, fldCheckSum, fldDateCreated,
fldDateModified, fldDateAccessed, fldImportModules, fldCompanyName, fldInternalName,
fldFileVersion. TSV writes \\, \t, \n and \r for backslash, tab, line feed and carriage return;
CSV follows RFC 4180; JSON is an array of objects, with bytes that are not UTF-8 shown as U+FFFD.
)";

constexpr const char* kDuplicates =
    R"(Usage: mirelon-cli duplicates [--same-name] [--extensions LIST] [--exclude DIR]... [--hard-links] [--db PATH] [--format tsv|csv|json]
List every catalogued file whose checksum another catalogued file shares, sorted by checksum
so that each group of copies is adjacent. Files without a checksum are left out. Hard links
to one file are one file, listed once under the path that sorts first, since deleting a link
frees no space: links alone make no group. The filters are those of the window's
duplicate-files options, but none is in force unless given; a group left with one file is not
listed.

  --hard-links    list every link of a file, each as a file of its own
)";

// The filters, the same for duplicates and remove-duplicates.
constexpr const char* kFilterOptions =
    R"(  --same-name     a group is made of files that also share their name, letter case ignored
  --extensions LIST
                  only files with these extensions: commas or blanks between them, the dot
                  optional, letter case ignored (".jpg, png")
  --exclude DIR   leave out the files in this folder and under it (may be repeated)
)";

constexpr const char* kRemoveDuplicates =
    R"(Usage: mirelon-cli remove-duplicates (--keep oldest|newest|shortest-path | --in DIR) [--same-name] [--extensions LIST] [--exclude DIR]... [--method NAME] [--dry-run] [--permanently] [--db PATH]
Keep one file of each group of copies that 'duplicates' lists with the same filters, and move
)";

// After the platform's part: where the files go, and what tells whether one changed.
constexpr const char* kRemoveDuplicatesRules =
    R"(A file that changed since the scan is left alone, and so is a group whose file to keep
changed. Every file moved leaves the catalog; a group never loses its last copy.

  --keep RULE     the file each group keeps: oldest or newest (by modified date), or
                  shortest-path (fewest characters); ties go to the path that sorts first
  --in DIR        keep every file inside DIR instead; a group with no file there is left
                  untouched
)";

constexpr const char* kRemoveOptions =
    R"(  --method NAME   for a catalog that does not record the method of its checksums (one made
                  before it was recorded), the method it was made with: MD2, MD4, MD5, CRC32,
                  CRC32B, ADLER32, GOST, HAVAL128, HAVAL160, HAVAL192, HAVAL224, HAVAL256, SHA1,
                  SHA256, SHA384, SHA512, TIGER128, TIGER160, TIGER192, RIPEMD128 or RIPEMD160;
                  without it each checksum is compared by every method of its length
  --dry-run       check every file and print the same lines, but change nothing
  --permanently   delete the files instead of moving them to the trash
  --db PATH       the catalog: a folder, or a file named files.db in one
  -h, --help      show this text

One line per file, group by group: "kept", "trashed", "deleted", "failed" or "untouched", a
tab, and the path; for "failed" and "untouched" another tab and the reason. Paths and reasons
are written as TSV writes them (\\, \t, \n and \r). A summary follows on standard error.
Ctrl-C, a closed terminal or SIGTERM stops after the file at hand (exit status 130, 129 or 143).
The exit status is 1 when a file could not be removed.
)";

constexpr const char* kOld =
    R"(Usage: mirelon-cli old [--months N] [--db PATH] [--format tsv|csv|json]
List the catalogued files last accessed between ten years ago and N months ago.

  --months N      1 to 60, default 12
)";

constexpr const char* kUnusedDlls =
    R"(Usage: mirelon-cli unused-dlls [--db PATH] [--format tsv|csv|json]
List the catalogued .dll files whose name no catalogued file imports (letter case ignored),
and the catalogued ELF shared libraries whose soname no catalogued file needs (letter case
kept). One step only: a library needed only by libraries that nothing needs counts as used.
Plug-ins, which programs load by name while they run, are listed although they are in use.
)";

constexpr const char* kDrives = R"(Usage: mirelon-cli drives [--format tsv|csv|json]
List the drive letters in use: letter, type, root, label, file_system, total_bytes and
)";

constexpr const char* kDrivesOptions = R"(
  --format FMT    tsv (default), csv or json
  -h, --help      show this text
)";

constexpr const char* kHash = R"(Usage: mirelon-cli hash [--method NAME] [FILE]...
Print one line "CHECKSUM  FILE" per file, as md5sum does. With no FILE, or when FILE is -,
read standard input.

  --method NAME   MD2, MD4, MD5 (default), CRC32, CRC32B, ADLER32, GOST, HAVAL128, HAVAL160,
                  HAVAL192, HAVAL224, HAVAL256, SHA1, SHA256, SHA384, SHA512, TIGER128,
                  TIGER160, TIGER192, RIPEMD128 or RIPEMD160
  -h, --help      show this text

Files that cannot be read are named on standard error and make the exit status 1.
)";

} // namespace

std::string CliHelpText(CliCommand command) {
    switch (command) {
    case CliCommand::Scan:
        return std::string(kScan) + UnreadFormatsHelpText();
    case CliCommand::Duplicates:
        return std::string(kDuplicates) + kFilterOptions + kQueryOptions;
    case CliCommand::RemoveDuplicates:
        return std::string(kRemoveDuplicates) + RemovalHelpText() + kRemoveDuplicatesRules +
               kFilterOptions + kRemoveOptions;
    case CliCommand::OldFiles:
        return std::string(kOld) + kQueryOptions;
    case CliCommand::UnusedDlls:
        return std::string(kUnusedDlls) + UnreadFormatsHelpText() + "\n" + kQueryOptions;
    case CliCommand::Drives:
        return std::string(kDrives) + DriveTableHelpText() + kDrivesOptions;
    case CliCommand::Hash:
        return kHash;
    case CliCommand::None:
        break;
    }
    return kOverview;
}

} // namespace mirelon
