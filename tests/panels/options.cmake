if(MIRELON_GUI)
  mirelon_qttest(panels_options_tests
    SOURCES
      option_panels_test.cpp
    LIBS mirelon_options mirelon_test_support_qt
  )
  mirelon_qttest(panels_scan_options_binding_tests
    SOURCES
      scan_options_binding_test.cpp
    LIBS mirelon_options mirelon_session mirelon_test_support_qt
  )
  mirelon_qttest(panels_options_wiring_tests
    SOURCES
      options_wiring_test.cpp
    LIBS mirelon_shell mirelon_test_support_qt
  )
  # Not a test: makes the pictures in docs/ (see tools/panel-screenshots).
  add_executable(panel_screenshots panel_screenshots.cpp)
  target_link_libraries(panel_screenshots PRIVATE mirelon_options mirelon_test_support_qt)
endif()
