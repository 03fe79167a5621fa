mirelon_gtest(exclusions_store_tests
  SOURCES
    check_state_store_test.cpp
    check_state_file_test.cpp
    excluded_folder_list_test.cpp
    exclusion_scan_test.cpp
  LIBS mirelon_exclusion_store mirelon_session
)
# Windows' own rules for which paths name an item.
mirelon_one_side_sources(exclusions_store_tests win32 item_identity_test_win32.cpp)
if(MIRELON_GUI)
  mirelon_qttest(exclusions_panels_tests
    SOURCES
      exclusion_panels_test.cpp
    LIBS mirelon_exclusions mirelon_session mirelon_test_support_qt
  )
  mirelon_qttest(exclusions_wiring_tests
    SOURCES
      exclusions_wiring_test.cpp
    LIBS mirelon_shell
  )
  # Not a test: makes docs/scan-exclusions.png (run under xvfb-run).
  add_executable(exclusion_panel_screenshot exclusion_panel_screenshot.cpp)
  target_link_libraries(exclusion_panel_screenshot PRIVATE mirelon_exclusions
    mirelon_test_support_qt)
endif()
