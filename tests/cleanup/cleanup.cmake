mirelon_gtest(cleanup_tests
  SOURCES
    file_removal_test_posix.cpp
    keep_rules_test.cpp
  LIBS mirelon_cleanup
)
set_target_properties(cleanup_tests PROPERTIES AUTOMOC OFF)
