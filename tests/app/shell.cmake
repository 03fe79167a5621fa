if(MIRELON_GUI)
  mirelon_qttest(qt_window_thread_tests
    SOURCES qt_window_thread_test.cpp
    LIBS mirelon_shell
  )
  mirelon_qttest(frm_main_tests
    SOURCES frm_main_test.cpp
    LIBS mirelon_shell mirelon_test_support_qt
  )
  mirelon_qttest(scan_commands_tests
    SOURCES scan_commands_test.cpp
    LIBS mirelon_shell
  )
  # Starts the built program from elsewhere to see where its catalog goes, and signals it.
  add_dependencies(frm_main_tests mirelon)
  target_compile_definitions(frm_main_tests PRIVATE MIRELON_EXE="$<TARGET_FILE:mirelon>")
endif()
