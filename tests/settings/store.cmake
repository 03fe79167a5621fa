mirelon_gtest(settings_store_tests
  SOURCES
    value_text_test.cpp
    storage_test.cpp
    ini_file_test.cpp
  LIBS mirelon_settings
)
