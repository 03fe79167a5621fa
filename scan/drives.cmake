# The drive table: on Windows the real drives; on Linux mounted file systems mapped to the letters
# A to Z (the mapping itself is portable, so tests give it mount tables of their own anywhere).
add_library(mirelon_drives STATIC
  drive_info.cpp
  drive_letters.cpp
  disk_values.cpp
  file_system_kind.cpp
  mount_table.cpp
)
mirelon_platform_sources(mirelon_drives system_drive)
# Only Linux reads a mount table of its own.
mirelon_one_side_sources(mirelon_drives posix mount_source_posix.cpp)
target_link_libraries(mirelon_drives PRIVATE mirelon_base)
if(WIN32)
  target_link_libraries(mirelon_drives PRIVATE shell32)
endif()
target_include_directories(mirelon_drives PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_drives)
