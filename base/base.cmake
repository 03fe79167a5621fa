# Small helpers below every other library: ASCII letter case, byte order, hex text. Plain C++,
# no Qt.
add_library(mirelon_base STATIC
  ascii_case.cpp
  hex_text.cpp
)
target_include_directories(mirelon_base PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_base)
