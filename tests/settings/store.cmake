mirelon_gtest(settings_store_tests
  SOURCES
    value_text_test.cpp
    storage_test.cpp
    ini_file_test.cpp
  LIBS mirelon_settings
)
# A file size limit makes writes fail part way on Linux only.
mirelon_one_side_sources(settings_store_tests posix ini_file_test_posix.cpp)
