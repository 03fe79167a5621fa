#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace mirelon {

// How a results column compares when the grid is sorted by it.
enum class ColumnKind { Text, Number, Date };

struct GridColumn {
    std::string_view name;    // catalog column, also the settings key prefix
    std::string_view caption; // header text
    int width;                // designed width in pixels
    ColumnKind kind;
};

inline constexpr std::size_t kGridColumnCount = 12;
inline constexpr std::size_t kFullPathColumn = 0;
inline constexpr std::size_t kFileNameColumn = 1;
inline constexpr std::size_t kFileExtensionColumn = 2;
inline constexpr std::size_t kFileSizeColumn = 3;
inline constexpr std::size_t kCheckSumColumn = 4;
inline constexpr std::size_t kDateModifiedColumn = 6;
inline constexpr std::size_t kDateAccessedColumn = 7;
inline constexpr std::size_t kCompanyNameColumn = 9;
inline constexpr std::size_t kInternalNameColumn = 10;
inline constexpr std::size_t kFileVersionColumn = 11;

// The results grid shows the catalog row after fldID, one column per catalog column, in table
// order.
inline constexpr std::array<GridColumn, kGridColumnCount> kGridColumns{{
    {"fldFullPath", "Full Path", 200, ColumnKind::Text},
    {"fldFileName", "FileName", 80, ColumnKind::Text},
    {"fldFileExtension", "File Extension", 50, ColumnKind::Text},
    {"fldFileSize", "File Size", 50, ColumnKind::Number},
    {"fldCheckSum", "Check Sum", 150, ColumnKind::Text},
    {"fldDateCreated", "Date Created", 80, ColumnKind::Date},
    {"fldDateModified", "Date Modified", 80, ColumnKind::Date},
    {"fldDateAccessed", "Date Accessed", 80, ColumnKind::Date},
    {"fldImportModules", "Import Modules", 80, ColumnKind::Text},
    {"fldCompanyName", "Company Name", 80, ColumnKind::Text},
    {"fldInternalName", "Internal Name", 80, ColumnKind::Text},
    {"fldFileVersion", "File Version", 80, ColumnKind::Text},
}};

} // namespace mirelon
