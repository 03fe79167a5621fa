mirelon_gtest(catalog_tests
  SOURCES
    date_time_test.cpp
    sqlite_database_test.cpp
    sqlite_table_test.cpp
  LIBS mirelon_catalog
)
