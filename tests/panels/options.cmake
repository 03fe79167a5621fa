if(MIRELON_GUI)
  mirelon_qttest(panels_options_tests
    SOURCES
      option_panels_test.cpp
    LIBS mirelon_options
  )
endif()
if(MIRELON_GUI AND TARGET mirelon_session)
  mirelon_qttest(panels_scan_options_binding_tests
    SOURCES
      scan_options_binding_test.cpp
    LIBS mirelon_options mirelon_session
  )
endif()
if(MIRELON_GUI)
  # Not a test: makes the pictures in docs/ (see tools/panel-screenshots).
  add_executable(panel_screenshots panel_screenshots.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dropped_panel_picture.cpp)
  target_link_libraries(panel_screenshots PRIVATE mirelon_options)
endif()
if(MIRELON_GUI AND TARGET mirelon_shell)
  mirelon_qttest(panels_options_wiring_tests
    SOURCES
      options_wiring_test.cpp
    LIBS mirelon_shell
  )
endif()
