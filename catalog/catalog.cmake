add_library(mirelon_catalog STATIC
  catalog_schema.cpp
  catalog_statements.cpp
  date_time.cpp
  local_clock_posix.cpp
  real_text.cpp
  sqlite_cells.cpp
  sqlite_database.cpp
  sqlite_error.cpp
  sqlite_statement.cpp
  sqlite_table.cpp
)
target_include_directories(mirelon_catalog PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_catalog)
target_link_libraries(mirelon_catalog PUBLIC mirelon_base SQLite::SQLite3)
