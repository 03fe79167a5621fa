# The parallel scan's machinery: ordered work pool, read-ahead hints, whether a drive spins,
# how many files to work on at once.
add_library(mirelon_pipeline STATIC
  ordered_pipeline.cpp
  read_ahead_posix.cpp
  block_device_rotation_posix.cpp
  storage_rotation_posix.cpp
  processor_count_posix.cpp
  scan_jobs.cpp
)
target_include_directories(mirelon_pipeline PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_pipeline)
# The drive table's mount table reader finds the device under a btrfs or similar mount.
target_link_libraries(mirelon_pipeline PUBLIC mirelon_drives Threads::Threads)
