mirelon_gtest(hash_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/hash_vectors_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checksum_definition_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_service_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/large_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_test_files_posix.cpp
  LIBS mirelon_hash)
mirelon_gtest(hash_batch_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/md_lanes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_batch_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_test_files_posix.cpp
  LIBS mirelon_hash)
