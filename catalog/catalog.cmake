add_library(mirelon_catalog STATIC
  bulk_write_journal.cpp
  catalog_failure.cpp
  catalog_file.cpp
  catalog_row_inserter.cpp
  catalog_format.cpp
  catalog_schema.cpp
  catalog_statements.cpp
  date_time.cpp
  file_stamps.cpp
  real_text.cpp
  sqlite_cells.cpp
  sqlite_database.cpp
  sqlite_error.cpp
  sqlite_statement.cpp
  sqlite_table.cpp
)
mirelon_platform_sources(mirelon_catalog local_clock)
target_include_directories(mirelon_catalog PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_catalog)
target_link_libraries(mirelon_catalog PUBLIC mirelon_base SQLite::SQLite3)
