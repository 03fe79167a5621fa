mirelon_gtest(thread_tests
  SOURCES
    thread_ex_test.cpp
    thread_priority_test.cpp
  LIBS mirelon_thread
)
set_target_properties(thread_tests PROPERTIES AUTOMOC OFF)
