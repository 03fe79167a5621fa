# Acting on duplicates and old files: which copies of a group to select, the check that a file is
# still the one catalogued, and its removal to the trash with its catalog row. Plain C++, no Qt.
add_library(mirelon_cleanup STATIC
  catalog_record.cpp
  file_check.cpp
  file_removal.cpp
  keep_rules.cpp
  removal_summary.cpp
)
mirelon_platform_sources(mirelon_cleanup file_lookup)
target_include_directories(mirelon_cleanup PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_cleanup)
target_link_libraries(mirelon_cleanup PUBLIC mirelon_query mirelon_trash mirelon_facts mirelon_hash
  mirelon_catalog mirelon_base)
