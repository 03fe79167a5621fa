# Helper-thread component: Qt-free, over the window-thread seam. The Qt side of the seam belongs
# to the window program (app/qt_window_thread.*).
add_library(mirelon_thread STATIC
  event_thread.cpp
  plain_window_thread.cpp
  thread_ex.cpp
  thread_priority.cpp
  window_thread_base.cpp
  window_thread_registry.cpp
)
mirelon_platform_sources(mirelon_thread thread_priority)
target_include_directories(mirelon_thread PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_thread)
target_link_libraries(mirelon_thread PUBLIC Threads::Threads)
