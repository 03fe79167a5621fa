mirelon_gtest(catalog_tests
  SOURCES
    catalog_row_inserter_test.cpp
    catalog_schema_test.cpp
    catalog_statements_test.cpp
    date_time_test.cpp
    sqlite_database_test.cpp
    sqlite_table_test.cpp
  LIBS mirelon_catalog
)
