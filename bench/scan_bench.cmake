add_executable(scan_bench
  ${CMAKE_CURRENT_LIST_DIR}/scan_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scan_bench_cache_posix.cpp
)
target_link_libraries(scan_bench PRIVATE mirelon_session mirelon_pipeline)
