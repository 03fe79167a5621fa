mirelon_gtest(trash_tests
  SOURCES
    trash_info_test.cpp
    trash_test_posix.cpp
  LIBS mirelon_trash
)
set_target_properties(trash_tests PROPERTIES AUTOMOC OFF)
