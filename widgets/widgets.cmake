if(MIRELON_GUI)
  # Small Qt pieces that more than one window shows: the status lamps.
  add_library(mirelon_widgets STATIC
    status_lamp.cpp
  )
  target_include_directories(mirelon_widgets PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mirelon_widgets PUBLIC Qt6::Widgets)
endif()
