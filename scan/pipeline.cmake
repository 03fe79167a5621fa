# The parallel scan's machinery: ordered work pool, read-ahead hints, whether a drive spins,
# how many files to work on at once.
add_library(mirelon_pipeline STATIC
  ordered_pipeline.cpp
  read_ahead_pool.cpp
  scan_jobs.cpp
)
mirelon_platform_sources(mirelon_pipeline read_ahead storage_rotation processor_count)
# Only Linux finds the disk under a path through sysfs and the mount table.
mirelon_one_side_sources(mirelon_pipeline posix block_device_rotation_posix.cpp)
target_include_directories(mirelon_pipeline PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_pipeline)
target_link_libraries(mirelon_pipeline PUBLIC Threads::Threads)
# The mount table reader (Linux); wide paths (Windows).
target_link_libraries(mirelon_pipeline PRIVATE mirelon_drives mirelon_base)
