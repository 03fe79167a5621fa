mirelon_gtest(scan_pipeline_test
  SOURCES
    scan_pipeline_test.cpp
  LIBS mirelon_pipeline
)
