# Moving files to the desktop trash, and deleting them for good. Plain C++, no Qt.
add_library(mirelon_trash STATIC
  trash_info.cpp
  trash_posix.cpp
)
target_include_directories(mirelon_trash PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_trash)
target_link_libraries(mirelon_trash PUBLIC mirelon_base)
