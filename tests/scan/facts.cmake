mirelon_gtest(mirelon_facts_tests
  SOURCES
    facts_test_files_posix.cpp
    file_times_test.cpp
  LIBS mirelon_facts
)
