mirelon_fuzzer(mirelon_fuzz_hash_pieces SOURCES hash_pieces_fuzz.cpp LIBS mirelon_hash)
# Coverage feedback from the algorithms themselves, not just from the harness.
target_compile_options(mirelon_hash PRIVATE -fsanitize=fuzzer-no-link)
target_compile_options(mirelon_hash_extra PRIVATE -fsanitize=fuzzer-no-link)
