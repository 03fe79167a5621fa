if(MIRELON_GUI)
  add_executable(query_bench ${CMAKE_CURRENT_LIST_DIR}/query_bench.cpp)
  target_link_libraries(query_bench PRIVATE mirelon_results mirelon_catalog SQLite::SQLite3 Threads::Threads)
endif()
