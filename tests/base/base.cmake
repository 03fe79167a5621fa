mirelon_gtest(base_tests
  SOURCES
    ascii_case_test.cpp
    utf16_text_test.cpp
  LIBS mirelon_base
)
set_target_properties(base_tests PROPERTIES AUTOMOC OFF)
