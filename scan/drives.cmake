# The drive table: mounted file systems mapped to the letters A to Z.
add_library(mirelon_drives STATIC
  drive_info.cpp
  drive_letters.cpp
  disk_values.cpp
  file_system_kind.cpp
  mount_table.cpp
  mount_source_posix.cpp
)
target_include_directories(mirelon_drives PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_drives)
