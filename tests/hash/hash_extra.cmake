mirelon_gtest(hash_extra_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/hash_extra_test.cpp
  LIBS mirelon_hash_extra)
