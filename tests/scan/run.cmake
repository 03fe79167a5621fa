mirelon_gtest(scan_run_test
  SOURCES
    scan_run_test.cpp
    scan_run_jobs_test.cpp
    scanned_file_test.cpp
    pe_image_writer.cpp
  LIBS mirelon_session mirelon_base
)
mirelon_platform_sources(scan_run_test scan_run_test facts_test_files)
