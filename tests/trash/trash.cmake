mirelon_gtest(trash_tests
  SOURCES
    trash_info_test.cpp
  LIBS mirelon_trash
)
mirelon_platform_sources(trash_tests trash_test)
set_target_properties(trash_tests PROPERTIES AUTOMOC OFF)
