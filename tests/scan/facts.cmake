mirelon_gtest(mirelon_facts_tests
  SOURCES
    file_times_test.cpp
    import_modules_test.cpp
    pe_image_writer.cpp
    version_info_test.cpp
  LIBS mirelon_facts mirelon_base
)
# Each platform's test files and the tests of its own time keeping.
mirelon_platform_sources(mirelon_facts_tests facts_test_files file_times_test)

# The ELF reader has only its Linux side (libelf), and the test builds ELF files with the C
# compiler.
if(WIN32)
  return()
endif()
mirelon_gtest(mirelon_elf_tests
  SOURCES
    elf_dynamic_info_test.cpp
    elf_image_writer.cpp
    pe_image_writer.cpp
  LIBS mirelon_facts
)
# The test builds a small library and two programs with the project's own C compiler.
target_compile_definitions(mirelon_elf_tests PRIVATE MIRELON_TEST_CC="${CMAKE_C_COMPILER}")
