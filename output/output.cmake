# Tables of texts written as TSV, CSV or JSON: the command line's output and the results window's
# saved lists. Plain C++, no Qt.
add_library(mirelon_output STATIC
  field_escaping.cpp
  table_writer.cpp
)
target_include_directories(mirelon_output PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_output)
target_link_libraries(mirelon_output PUBLIC mirelon_base)
