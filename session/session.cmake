# What both programs need to run jobs on the engine: the data directory, the task names and their
# dispatcher, the shell's state, the "Create Database" job and the scan session. No Qt.
add_library(mirelon_session STATIC
  data_directory.cpp
  scan_session.cpp
  shell_jobs.cpp
  task_dispatcher.cpp
)
mirelon_platform_sources(mirelon_session home_directory installed_data_directory)
target_include_directories(mirelon_session PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_session)
target_link_libraries(mirelon_session PUBLIC mirelon_base mirelon_thread mirelon_catalog mirelon_scanrun)
