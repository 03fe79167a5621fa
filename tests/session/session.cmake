mirelon_gtest(session_tests
  SOURCES
    data_directory_test.cpp
    scan_session_test.cpp
    shell_jobs_test.cpp
    task_dispatcher_test.cpp
  LIBS mirelon_session
)
set_target_properties(session_tests PROPERTIES AUTOMOC OFF)
