mirelon_gtest(session_tests
  SOURCES
    data_directory_test.cpp
    scan_session_test.cpp
    shell_jobs_test.cpp
    task_dispatcher_test.cpp
  LIBS mirelon_session
)
# Permissions and the XDG folders: Linux only.
mirelon_one_side_sources(session_tests posix data_directory_test_posix.cpp scan_session_test_posix.cpp)
# Program Files and the local application data folder: Windows only.
mirelon_one_side_sources(session_tests win32 data_directory_test_win32.cpp)
set_target_properties(session_tests PROPERTIES AUTOMOC OFF)
