# The less common digests: GOST R 34.11-94, HAVAL, Tiger and RIPEMD. Plain C++, no dependencies.
add_library(mirelon_hash_extra STATIC
  ${CMAKE_CURRENT_LIST_DIR}/gost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/haval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tiger.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ripemd.cpp)
target_include_directories(mirelon_hash_extra PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_hash_extra)
target_link_libraries(mirelon_hash_extra PUBLIC mirelon_base)
