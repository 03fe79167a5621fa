# Helpers every test may use: temporary folders, folder trees for the scanner, named pipes, a
# mount table given as text, a drive table of its own, bounded waits, signals to a started
# process, and on Linux a desktop trash of the test's own. Linked into each test.
add_library(mirelon_test_support STATIC
  eventually.cpp
  small_disk_vfs.cpp
  temp_folder.cpp
)
mirelon_platform_sources(mirelon_test_support named_pipe scan_test_tree)
# Signals exist on the POSIX side only; the tests that send them are Linux-only.
mirelon_one_side_sources(mirelon_test_support posix process_signal_posix.cpp)
# Child processes that give up privileges or mount file systems of their own: Linux only.
mirelon_one_side_sources(mirelon_test_support posix child_process_posix.cpp)
# The desktop trash is the Linux side's; Wine keeps the Recycle Bin in the host's.
mirelon_one_side_sources(mirelon_test_support posix test_trash_posix.cpp)
target_include_directories(mirelon_test_support PUBLIC ${PROJECT_SOURCE_DIR})
# The Windows folder trees take long, wide paths.
target_link_libraries(mirelon_test_support PRIVATE mirelon_base)
mirelon_qt_free(mirelon_test_support)
target_link_libraries(mirelon_test_support PUBLIC SQLite::SQLite3)

if(MIRELON_GUI)
  # Window helpers: drop-down panels and message boxes driven from a test, panel pictures.
  add_library(mirelon_test_support_qt STATIC
    drop_down_steps.cpp
    dropped_panel_picture.cpp
    message_box_steps.cpp
  )
  target_link_libraries(mirelon_test_support_qt PUBLIC mirelon_test_support mirelon_dropdown
    Qt6::Test Qt6::Widgets)
endif()
