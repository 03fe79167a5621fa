mirelon_fuzzer(mirelon_fuzz_import_modules SOURCES import_modules_fuzz.cpp LIBS mirelon_facts)
mirelon_fuzzer(mirelon_fuzz_version_info SOURCES version_info_fuzz.cpp LIBS mirelon_facts)
mirelon_fuzzer(mirelon_fuzz_elf_dynamic_info SOURCES elf_dynamic_info_fuzz.cpp
  LIBS mirelon_facts mirelon_test_support)

# mirelon_facts_seeds <folder>: the images the tests build, as a starting corpus.
add_executable(mirelon_facts_seeds facts_seeds.cpp ${PROJECT_SOURCE_DIR}/tests/scan/pe_image_writer.cpp
  ${PROJECT_SOURCE_DIR}/tests/scan/elf_image_writer.cpp)
target_include_directories(mirelon_facts_seeds PRIVATE ${PROJECT_SOURCE_DIR})
