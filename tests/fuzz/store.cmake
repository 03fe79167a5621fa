mirelon_fuzzer(fuzz_ini_reader
  SOURCES ini_reader_fuzz.cpp
  LIBS mirelon_settings
)
