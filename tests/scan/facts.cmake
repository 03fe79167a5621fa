mirelon_gtest(mirelon_facts_tests
  SOURCES
    facts_test_files_posix.cpp
    file_times_test.cpp
    import_modules_test.cpp
    pe_image_writer.cpp
    version_info_test.cpp
  LIBS mirelon_facts
)
