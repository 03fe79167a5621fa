# Small helpers below every other library: ASCII letter case, byte order, hex text, UTF-8 and
# UTF-16 text, values quoted in messages, the system's words for an error, UTF-8 paths for
# std::filesystem, the running executable's path, file locations (on Linux their folder handle and
# name for the *at calls, on Windows the wide, long form of paths).
# Plain C++, no Qt.
add_library(mirelon_base STATIC
  ascii_case.cpp
  hex_text.cpp
  message_text.cpp
  utf16_text.cpp
)
mirelon_platform_sources(mirelon_base system_error_text utf8_path executable_path)
# Only the Windows side of the platform seams takes paths in their wide form, and only the Linux
# side opens files relative to their folder.
mirelon_one_side_sources(mirelon_base win32 wide_path_win32.cpp)
mirelon_one_side_sources(mirelon_base posix file_at_posix.cpp)
target_include_directories(mirelon_base PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_base)
