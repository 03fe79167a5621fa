mirelon_gtest(catalog_tests
  SOURCES
    date_time_test.cpp
  LIBS mirelon_catalog
)
