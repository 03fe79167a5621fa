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
