add_library(mirelon_scanrun STATIC
  catalog_index.cpp
  scan_run.cpp
  scanned_file.cpp)
target_include_directories(mirelon_scanrun PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_scanrun)
target_link_libraries(mirelon_scanrun PUBLIC mirelon_base mirelon_catalog mirelon_hash mirelon_facts
  mirelon_scanner mirelon_drives mirelon_pipeline)
