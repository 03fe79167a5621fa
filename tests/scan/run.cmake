mirelon_gtest(scan_run_test
  SOURCES
    scan_run_test.cpp
    pe_image_writer.cpp
  LIBS mirelon_session
)
