# The field escapings of the table writer, on arbitrary bytes. Built from the one source file
# and the base helpers, so the fuzz build need not compile the whole engine for it.
mirelon_fuzzer(mirelon_fuzz_field_escaping
  SOURCES field_escaping_fuzz.cpp ${PROJECT_SOURCE_DIR}/output/field_escaping.cpp
  LIBS mirelon_base
)
