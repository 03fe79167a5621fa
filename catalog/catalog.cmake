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
# Both "catalog/x.h" and "x.h" resolve for users of the library.
target_include_directories(mirelon_catalog PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(mirelon_catalog PUBLIC mirelon_base SQLite::SQLite3)
