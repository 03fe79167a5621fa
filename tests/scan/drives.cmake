mirelon_gtest(drives_test
  SOURCES
    mount_table_test.cpp
    drive_info_test.cpp
    disk_values_test.cpp
  LIBS mirelon_drives
)
