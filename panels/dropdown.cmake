if(MIRELON_GUI)
  # The drop-down panel base that every option and exclusion panel derives from.
  add_library(mirelon_dropdown STATIC
    dropdown_form.cpp
    dropdown_form.h
    dropdown_sizing.cpp
    roll_down_animation.cpp
  )
  target_include_directories(mirelon_dropdown PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mirelon_dropdown PUBLIC Qt6::Widgets)
endif()
