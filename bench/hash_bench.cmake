# OpenSSL and zlib are peers to measure against, linked into this benchmark only.
find_package(OpenSSL COMPONENTS Crypto)
find_package(ZLIB)
if(TARGET OpenSSL::Crypto AND TARGET ZLIB::ZLIB)
  add_executable(hash_bench ${CMAKE_CURRENT_LIST_DIR}/hash_bench.cpp)
  target_link_libraries(hash_bench PRIVATE mirelon_hash OpenSSL::Crypto ZLIB::ZLIB)
else()
  message(STATUS "hash_bench skipped: needs OpenSSL's libcrypto and zlib (libssl-dev, zlib1g-dev)")
endif()
