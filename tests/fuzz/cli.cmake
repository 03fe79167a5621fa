# The field escapings of mirelon-cli's output, on arbitrary bytes. Built from the one source
# file and the base helpers, so the fuzz build need not compile the whole engine for it.
mirelon_fuzzer(mirelon_fuzz_cli_escaping
  SOURCES cli_escaping_fuzz.cpp ${PROJECT_SOURCE_DIR}/cli/cli_field_escaping.cpp
  LIBS mirelon_base
)
