if(MIRELON_GUI)
  # The property inspector and the two option panels.
  add_library(mirelon_options STATIC
    frm_duplicate_files_options.cpp
    frm_scan_options.cpp
    gradient_strip.cpp
    inspector_rows.cpp
    option_panel.cpp
    property_inspector.cpp
  )
  target_include_directories(mirelon_options PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mirelon_options PUBLIC mirelon_dropdown mirelon_propsaver Qt6::Widgets)
endif()
