# Per-file facts: times, size, access-time restore, import modules, version strings and the
# libraries an ELF file needs.
# ELF files are read with libelf, which has no Windows build here (the Windows side reads none).
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBELF REQUIRED IMPORTED_TARGET libelf)
endif()
add_library(mirelon_facts STATIC
  elf_dynamic_info.cpp
  file_times.cpp
  import_modules.cpp
  pe_image.cpp
  pe_image_file.cpp
  version_info.cpp
  version_info_block.cpp
  version_info_resource.cpp
  version_info_utf16.cpp
)
mirelon_platform_sources(mirelon_facts elf_dynamic_info file_times pe_image_file)
target_include_directories(mirelon_facts PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_facts)
# The catalog only for the date-time type.
target_link_libraries(mirelon_facts PUBLIC mirelon_base mirelon_catalog)
if(NOT WIN32)
  target_link_libraries(mirelon_facts PRIVATE PkgConfig::LIBELF)
endif()
# The fuzzers need coverage feedback from inside the readers, not only from their own entry point.
if(MIRELON_FUZZ)
  target_compile_options(mirelon_facts PRIVATE -fsanitize=fuzzer-no-link)
endif()
