# The parallel scan's machinery: ordered work pool.
add_library(mirelon_pipeline STATIC
  ordered_pipeline.cpp
)
target_include_directories(mirelon_pipeline PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_pipeline)
target_link_libraries(mirelon_pipeline PUBLIC Threads::Threads)
