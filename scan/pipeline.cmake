# The parallel scan's machinery: ordered work pool, read-ahead hints.
add_library(mirelon_pipeline STATIC
  ordered_pipeline.cpp
  read_ahead_posix.cpp
)
target_include_directories(mirelon_pipeline PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_pipeline)
target_link_libraries(mirelon_pipeline PUBLIC Threads::Threads)
