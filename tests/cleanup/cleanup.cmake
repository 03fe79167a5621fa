mirelon_gtest(cleanup_tests
  SOURCES
    file_check_test.cpp
    keep_rules_test.cpp
  LIBS mirelon_cleanup
)
# The removal test reads the Linux trash back.
mirelon_one_side_sources(cleanup_tests posix file_removal_test_posix.cpp)
set_target_properties(cleanup_tests PROPERTIES AUTOMOC OFF)
