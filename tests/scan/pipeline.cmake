mirelon_gtest(scan_pipeline_test
  SOURCES
    scan_pipeline_test.cpp
    scan_jobs_test.cpp
  LIBS mirelon_pipeline
)
mirelon_one_side_sources(scan_pipeline_test posix read_ahead_test_posix.cpp
  storage_rotation_test_posix.cpp scan_jobs_test_posix.cpp)
