if(MIRELON_GUI)
  mirelon_qttest(query_results_tests
    SOURCES
      frm_query_results_test.cpp
    LIBS mirelon_results
  )
  mirelon_qttest(query_commands_tests
    SOURCES
      query_commands_test.cpp
    LIBS mirelon_results
  )
  # A picture of the window for the README (not a test): tools/results-screenshot.
  add_executable(results_screenshot results_screenshot.cpp)
  target_link_libraries(results_screenshot PRIVATE mirelon_results)
  mirelon_qttest(query_wiring_tests
    SOURCES
      query_wiring_test.cpp
    LIBS mirelon_shell mirelon_results
  )
  mirelon_qttest(query_cleanup_tests
    SOURCES
      results_cleanup_test.cpp
    LIBS mirelon_shell mirelon_results
  )
endif()
