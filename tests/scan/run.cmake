mirelon_gtest(scan_run_test
  SOURCES
    scan_run_test.cpp
    pe_image_writer.cpp
  LIBS mirelon_session
)
target_include_directories(scan_run_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
