mirelon_gtest(drives_test
  SOURCES
    mount_table_test.cpp
    drive_info_test.cpp
    disk_values_test.cpp
  LIBS mirelon_drives mirelon_base
)
# The system's own drive table: the mount table on Linux, the real drives on Windows.
mirelon_platform_sources(drives_test system_drives_test)
