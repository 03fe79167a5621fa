# The checksum service and its common algorithms. Plain C++, no Qt.
add_library(mirelon_hash STATIC
  ${CMAKE_CURRENT_LIST_DIR}/hash_service.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hash_range.cpp
  ${CMAKE_CURRENT_LIST_DIR}/method_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_reader_posix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/md2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/md4_md5.cpp
  ${CMAKE_CURRENT_LIST_DIR}/crc32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/adler32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha256.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha512.cpp)
target_include_directories(mirelon_hash PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_hash)
target_link_libraries(mirelon_hash PUBLIC mirelon_base mirelon_hash_extra)
