# The exclusion panels' check-state store, its file and the scan's exclusion list (no Qt).
add_library(mirelon_exclusion_store STATIC
  check_state_file.cpp
  check_state_store.cpp
  drive_roots.cpp
  excluded_folder_list.cpp
  item_identity.cpp
  store_exclusion_provider.cpp
  subfolder_listing.cpp
)
target_include_directories(mirelon_exclusion_store PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_exclusion_store)
# The file is replaced the way the settings file is; drive roots come from the drive table, and
# paths are joined with the walk's separator.
target_link_libraries(mirelon_exclusion_store PUBLIC mirelon_base mirelon_settings mirelon_drives
  mirelon_scanner)

if(MIRELON_GUI)
  # The two excluded-folder panels and their folder tree.
  add_library(mirelon_exclusions STATIC
    excluded_folders_panel.cpp
    folder_tree.cpp
    frm_excluded_folders.cpp
  )
  target_include_directories(mirelon_exclusions PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mirelon_exclusions PUBLIC mirelon_exclusion_store mirelon_options
    mirelon_dropdown Qt6::Widgets)
endif()
