add_library(mirelon_query STATIC
  column_order.cpp
  duplicate_filters.cpp
  duplicate_search.cpp
  imported_modules.cpp
  inside_folder.cpp
  month_shift.cpp
  query_jobs.cpp
  query_texts.cpp
  result_list_writer.cpp
  result_loading.cpp
  result_row_store.cpp
  shade_duplicate_groups.cpp
  text_arena.cpp
)
target_include_directories(mirelon_query PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_query)
target_link_libraries(mirelon_query PUBLIC mirelon_base mirelon_catalog mirelon_output)
# The platform's rule for what separates names in a path.
target_link_libraries(mirelon_query PRIVATE mirelon_scanner)
