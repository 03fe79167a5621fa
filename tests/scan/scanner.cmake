mirelon_gtest(scanner_test
  SOURCES
    scan_files_test.cpp
    scan_files_thread_test.cpp
    folder_walk_test.cpp
    walk_order.cpp
  LIBS mirelon_scanner GTest::gmock mirelon_base
)
# Each platform's kinds of entries and path limits.
mirelon_platform_sources(scanner_test scan_files_test folder_walk_test)
