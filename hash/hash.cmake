# The checksum service and its common algorithms. Plain C++, no Qt.
add_library(mirelon_hash STATIC
  ${CMAKE_CURRENT_LIST_DIR}/hash_service.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hash_range.cpp
  ${CMAKE_CURRENT_LIST_DIR}/method_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/md2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/md4_md5.cpp
  ${CMAKE_CURRENT_LIST_DIR}/crc32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/simd_request.cpp
  ${CMAKE_CURRENT_LIST_DIR}/adler32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha256.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha512.cpp
  ${CMAKE_CURRENT_LIST_DIR}/md_lanes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hash_batch.cpp)
mirelon_platform_sources(mirelon_hash file_reader)

# Multi-buffer MD4/MD5 and CRC folding. The SIMD kernels are built for their instruction sets
# in files of their own, so everything else stays baseline x86-64; the processor is asked at
# run time which of them may run. The compiler, not the host, tells whether the target is
# x86-64, so cross builds get them too. Other processors get the single-stream lanes and the
# CRC tables only.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles("#ifndef __x86_64__\n#error\n#endif\nint main() { return 0; }"
                          MIRELON_TARGET_X86_64)
if(MIRELON_TARGET_X86_64)
  set(_lanes_avx2 ${CMAKE_CURRENT_LIST_DIR}/md_lanes_avx2.cpp)
  set(_lanes_avx512 ${CMAKE_CURRENT_LIST_DIR}/md_lanes_avx512.cpp)
  set(_crc_pclmul ${CMAKE_CURRENT_LIST_DIR}/crc32_fold_pclmul.cpp)
  set(_crc_vpclmul ${CMAKE_CURRENT_LIST_DIR}/crc32_fold_vpclmul.cpp)
  target_sources(mirelon_hash PRIVATE ${CMAKE_CURRENT_LIST_DIR}/md_lanes_cpu_x86.cpp
                                      ${_lanes_avx2} ${_lanes_avx512}
                                      ${CMAKE_CURRENT_LIST_DIR}/crc32_fold_cpu_x86.cpp
                                      ${_crc_pclmul} ${_crc_vpclmul})
  # GCC 12 takes the intrinsics' deliberately undefined operands for uninitialised ones.
  set(_lanes_options $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
  # 64-bit Windows aligns the stack to 16 bytes only, and GCC cannot realign it there. The
  # lane kernels keep their data in the lanes' heap storage and the CRC kernels theirs in
  # registers, not on the stack; for the compiler's own 32- and 64-byte spills the assembler
  # writes every aligned vector move as an unaligned one (as fast on aligned data), so no GCC
  # version can leave a move that faults. Clang realigns the stack itself.
  if(MINGW AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND _lanes_options -Wa,-muse-unaligned-vector-move)
  endif()
  set_source_files_properties(${_lanes_avx2} PROPERTIES COMPILE_OPTIONS "-mavx2;${_lanes_options}")
  set_source_files_properties(${_lanes_avx512} PROPERTIES
    COMPILE_OPTIONS "-mavx512f;${_lanes_options}")
  set_source_files_properties(${_crc_pclmul} PROPERTIES
    COMPILE_OPTIONS "-mpclmul;-msse4.1;${_lanes_options}")
  set_source_files_properties(${_crc_vpclmul} PROPERTIES
    COMPILE_OPTIONS "-mvpclmulqdq;-mpclmul;-mavx512f;-mavx512bw;${_lanes_options}")
else()
  target_sources(mirelon_hash PRIVATE ${CMAKE_CURRENT_LIST_DIR}/md_lanes_cpu_generic.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/crc32_fold_cpu_generic.cpp)
endif()
target_include_directories(mirelon_hash PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_hash)
target_link_libraries(mirelon_hash PUBLIC mirelon_base mirelon_hash_extra)
