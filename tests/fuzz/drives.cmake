# The library is built with coverage counters as well, or the fuzzer would explore it blind.
target_compile_options(mirelon_drives PRIVATE -fsanitize=fuzzer-no-link)
mirelon_fuzzer(mirelon_fuzz_mount_table
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mount_table_fuzz.cpp
  LIBS mirelon_drives
)
