if(MIRELON_GUI)
  mirelon_qttest(query_results_tests
    SOURCES
      frm_query_results_test.cpp
    LIBS mirelon_query_ui
  )
  mirelon_qttest(query_commands_tests
    SOURCES
      query_commands_test.cpp
    LIBS mirelon_query_ui
  )
endif()
