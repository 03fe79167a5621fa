mirelon_gtest(hash_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/hash_vectors_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/checksum_definition_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crc32_fold_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_service_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/large_file_test.cpp
  LIBS mirelon_hash)
# Each platform's own file kinds and the helpers that make them.
mirelon_platform_sources(hash_test hash_file_test hash_test_files)
# Once more with every checksum on its portable code.
add_test(NAME hash_test_scalar COMMAND hash_test)
set_tests_properties(hash_test_scalar PROPERTIES TIMEOUT 600 ENVIRONMENT "MIRELON_HASH_SIMD=scalar")
mirelon_gtest(hash_batch_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/md_lanes_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hash_batch_test.cpp
  LIBS mirelon_hash)
