# The less common digests on their own, and seen through the checksum service.
mirelon_gtest(hash_extra_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/hash_extra_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_extra_service_test.cpp
  LIBS mirelon_hash_extra mirelon_hash)
