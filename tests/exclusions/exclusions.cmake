mirelon_gtest(exclusions_store_tests
  SOURCES
    check_state_store_test.cpp
    check_state_file_test.cpp
    excluded_folder_list_test.cpp
    exclusion_scan_test.cpp
    ${PROJECT_SOURCE_DIR}/tests/scan/scan_test_tree_posix.cpp
  LIBS mirelon_exclusion_store mirelon_session
)
# The scan tests' folder trees and fake drive table.
target_include_directories(exclusions_store_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/scan)
if(MIRELON_GUI)
  mirelon_qttest(exclusions_panels_tests
    SOURCES
      exclusion_panels_test.cpp
    LIBS mirelon_exclusions mirelon_session
  )
  target_include_directories(exclusions_panels_tests PRIVATE
    ${PROJECT_SOURCE_DIR}/tests/scan)
endif()
if(MIRELON_GUI AND TARGET mirelon_shell)
  mirelon_qttest(exclusions_wiring_tests
    SOURCES
      exclusions_wiring_test.cpp
    LIBS mirelon_shell
  )
endif()
if(MIRELON_GUI)
  # Not a test: makes docs/scan-exclusions.png (run under xvfb-run).
  add_executable(exclusion_panel_screenshot exclusion_panel_screenshot.cpp
    ${PROJECT_SOURCE_DIR}/tests/panels/dropped_panel_picture.cpp)
  target_link_libraries(exclusion_panel_screenshot PRIVATE mirelon_exclusions)
  target_include_directories(exclusion_panel_screenshot PRIVATE ${PROJECT_SOURCE_DIR}/tests/scan)
endif()
