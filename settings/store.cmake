add_library(mirelon_settings STATIC
  rs_escaped_text.cpp
  rs_ini_data.cpp
  rs_ini_reader.cpp
  rs_ini_writer.cpp
  rs_key_wrapper.cpp
  rs_number_text.cpp
  rs_storage.cpp
  rs_value_conversion.cpp
  rs_value_text.cpp
)
mirelon_platform_sources(mirelon_settings rs_file)
target_include_directories(mirelon_settings PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_settings)
# Date-time values use the catalog's date text.
target_link_libraries(mirelon_settings PUBLIC mirelon_base mirelon_catalog)
# Fuzz builds trace coverage inside the library too, not only in the fuzz target.
if(MIRELON_FUZZ)
  target_compile_options(mirelon_settings PRIVATE -fsanitize=fuzzer-no-link)
endif()
