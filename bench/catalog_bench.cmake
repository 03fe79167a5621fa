add_executable(catalog_bench ${CMAKE_CURRENT_LIST_DIR}/catalog_bench.cpp)
target_link_libraries(catalog_bench PRIVATE mirelon_catalog)
