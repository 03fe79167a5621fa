#pragma once

#include <string_view>

namespace mirelon {

// The task names that select a job of the helper thread.
inline constexpr std::string_view kTaskCreateDatabase = "Create Database";
inline constexpr std::string_view kTaskScanHarddisk = "Scan Harddisk";
inline constexpr std::string_view kTaskFindOldFiles = "Find Old Files";
inline constexpr std::string_view kTaskFindDuplicateFiles = "Find Duplicate Files";
// The unused-DLL search of the "Find Unused Dlls" page.
inline constexpr std::string_view kTaskUnusedDlls = "Unused Dlls";
// Moving the files selected in the results window to the trash, or deleting them.
inline constexpr std::string_view kTaskRemoveFiles = "Remove Files";

} // namespace mirelon
