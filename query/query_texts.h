#pragma once

#include "catalog/date_time.h"

#include <string>
#include <string_view>

namespace mirelon {

// Every row whose checksum is shared with another row. Files that could not be hashed have an
// empty checksum; they are not copies of one another, so those rows are left out.
inline constexpr std::string_view kDuplicatesQuery =
    "SELECT * FROM tblFiles WHERE fldCheckSum <> '' AND fldCheckSum IN (SELECT fldCheckSum FROM "
    "tblFiles WHERE fldCheckSum <> '' GROUP BY fldCheckSum HAVING COUNT(fldCheckSum) > 1)";

// The same, with hard links to one file (equal device and inode in the stamps) counted once,
// under the path that sorts first: deleting a link frees no space, so links alone are no
// duplicates. Rows without a stamp are each a file of their own. The rows are not gathered into
// a table of their own first: SQLite would copy the whole catalog into it.
inline constexpr std::string_view kDuplicatesOncePerFileQuery =
    "WITH tblLinked AS (SELECT fldDevice, fldInode FROM tblFileStamps GROUP BY fldDevice, "
    "fldInode HAVING COUNT(*) > 1), "
    "tblLinks AS (SELECT s.fldID, s.fldDevice, s.fldInode, f.fldFullPath FROM tblFileStamps s "
    "JOIN tblLinked l ON l.fldDevice = s.fldDevice AND l.fldInode = s.fldInode "
    "JOIN tblFiles f ON f.fldID = s.fldID), "
    "tblLaterLinks AS (SELECT a.fldID FROM tblLinks a JOIN tblLinks b ON b.fldDevice = "
    "a.fldDevice AND b.fldInode = a.fldInode AND b.fldFullPath COLLATE BINARY < a.fldFullPath) "
    "SELECT * FROM tblFiles WHERE fldCheckSum <> '' AND fldID NOT IN tblLaterLinks AND "
    "fldCheckSum IN (SELECT fldCheckSum FROM tblFiles WHERE fldCheckSum <> '' AND fldID NOT IN "
    "tblLaterLinks GROUP BY fldCheckSum HAVING COUNT(fldCheckSum) > 1)";

// One of the queries above with each group's rows together, in path order, for searches that
// filter within groups.
std::string InGroupOrder(std::string_view duplicatesQuery);

// The files that are candidates for "Unused Dlls": ".dll" files (the extension column ignores
// letter case), and ELF shared libraries. A scan gives an ELF file its own name (DT_SONAME) as
// internal name and never a company name or file version; a program image has an internal name
// only from a version resource, which nearly always holds those two as well.
inline constexpr std::string_view kUnusedDllCandidatesQuery =
    "SELECT * FROM tblFiles WHERE fldFileExtension = '.dll' OR (fldInternalName <> '' AND "
    "fldCompanyName = '' AND fldFileVersion = '')";

// Only the import lists, so that collecting imported names does not load whole rows.
inline constexpr std::string_view kImportListsQuery =
    "SELECT fldImportModules FROM tblFiles WHERE fldImportModules <> ''";

// Date texts bounding the last access of old files: midnight ten years back, and now less the
// chosen months, time of day kept. Both bounds are inclusive.
struct OldFilesBounds {
    std::string lower;
    std::string upper;
};

OldFilesBounds MakeOldFilesBounds(TDateTime now, int months);

std::string OldFilesQuery(const OldFilesBounds& bounds);

} // namespace mirelon
