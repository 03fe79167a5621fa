mirelon_gtest(query_tests
  SOURCES
    duplicate_filters_test.cpp
    month_shift_test.cpp
    query_jobs_test.cpp
    result_row_store_test.cpp
  LIBS mirelon_query
)
