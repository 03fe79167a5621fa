# Moving files to the desktop trash, and deleting them for good. Plain C++, no Qt.
add_library(mirelon_trash STATIC
  trash_info.cpp
)
mirelon_platform_sources(mirelon_trash trash)
target_include_directories(mirelon_trash PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_trash)
target_link_libraries(mirelon_trash PUBLIC mirelon_base)
# The Recycle Bin is the shell's.
if(WIN32)
  target_link_libraries(mirelon_trash PRIVATE shell32)
endif()
