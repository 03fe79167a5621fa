mirelon_gtest(hash_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/hash_vectors_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checksum_definition_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_service_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/large_file_test.cpp
  LIBS mirelon_hash)
# Each platform's own file kinds and the helpers that make them.
mirelon_platform_sources(hash_test hash_file_test hash_test_files)
mirelon_gtest(hash_batch_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/md_lanes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_batch_test.cpp
  LIBS mirelon_hash)
