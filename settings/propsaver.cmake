if(MIRELON_GUI)
  add_library(mirelon_propsaver STATIC
    rs_prop_saver.cpp
    rs_prop_saver.h
    rs_property_path.cpp
    rs_property_value.cpp
    rs_window_placement.cpp
  )
  target_link_libraries(mirelon_propsaver PUBLIC mirelon_settings Qt6::Widgets)
endif()
