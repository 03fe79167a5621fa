add_executable(walk_bench
  ${CMAKE_CURRENT_LIST_DIR}/walk_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/walk_bench_find_posix.cpp
)
target_link_libraries(walk_bench PRIVATE mirelon_scanner)
