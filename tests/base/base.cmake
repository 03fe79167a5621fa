mirelon_gtest(base_tests
  SOURCES
    ascii_case_test.cpp
    message_text_test.cpp
    utf16_text_test.cpp
  LIBS mirelon_base
)
set_target_properties(base_tests PROPERTIES AUTOMOC OFF)
# The wide path form exists only on the Windows side.
mirelon_one_side_sources(base_tests win32 wide_path_test_win32.cpp)
