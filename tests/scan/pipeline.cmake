mirelon_gtest(scan_pipeline_test
  SOURCES
    scan_pipeline_test.cpp
    read_ahead_test_posix.cpp
    storage_rotation_test_posix.cpp
    scan_jobs_test_posix.cpp
  LIBS mirelon_pipeline
)
