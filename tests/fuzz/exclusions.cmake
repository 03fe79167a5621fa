mirelon_fuzzer(fuzz_check_state_file
  SOURCES check_state_file_fuzz.cpp
  LIBS mirelon_exclusion_store
)
# exclusion_seeds <folder>: exclusion files like the tests write, as a starting corpus.
add_executable(exclusion_seeds exclusion_seeds.cpp)
target_link_libraries(exclusion_seeds PRIVATE mirelon_exclusion_store)
