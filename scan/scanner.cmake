# The folder walk behind TScanFiles.
add_library(mirelon_scanner STATIC
  scan_files.cpp
  folder_walk.cpp
  extension_filter.cpp
  directory_listing.cpp
  folder_access.cpp
  scan_roots.cpp
)
mirelon_platform_sources(mirelon_scanner directory_listing path_separator)
target_include_directories(mirelon_scanner PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_scanner)
# Threaded mode runs the walk on the helper-thread component.
target_link_libraries(mirelon_scanner PUBLIC mirelon_base mirelon_thread)
