set(_hash_extra_test_sources ${CMAKE_CURRENT_LIST_DIR}/hash_extra_test.cpp)
set(_hash_extra_test_libs mirelon_hash_extra)
# The same algorithms seen through the checksum service, once that library is part of the build.
if(TARGET mirelon_hash)
  list(APPEND _hash_extra_test_sources ${CMAKE_CURRENT_LIST_DIR}/hash_extra_service_test.cpp)
  list(APPEND _hash_extra_test_libs mirelon_hash)
endif()
mirelon_gtest(hash_extra_test SOURCES ${_hash_extra_test_sources} LIBS ${_hash_extra_test_libs})
