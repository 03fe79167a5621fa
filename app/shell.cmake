# Qt-free side of the shell: data directory, task dispatch, the shell's own jobs.
add_library(mirelon_shell_core STATIC
  data_directory.cpp
  executable_path_posix.cpp
  shell_jobs.cpp
  task_dispatcher.cpp
)
target_include_directories(mirelon_shell_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(mirelon_shell_core PUBLIC mirelon_thread mirelon_catalog mirelon_scanrun)
set_target_properties(mirelon_shell_core PROPERTIES AUTOMOC OFF)

if(MIRELON_GUI)
  # The windows and the program.
  add_library(mirelon_shell STATIC
    app_windows.cpp
    blinking_label.cpp
    frm_main.cpp
    frm_main_jobs.cpp
    navigation_bar.cpp
    scan_commands.cpp
    qt_window_thread.cpp
    startup_hooks.cpp
    status_lamp.cpp
    thread_ex_object.cpp
  )
  target_include_directories(mirelon_shell PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mirelon_shell PUBLIC mirelon_shell_core mirelon_query_ui mirelon_scanrun
    mirelon_options mirelon_exclusions Qt6::Widgets)

  add_executable(mirelon main.cpp)
  target_link_libraries(mirelon PRIVATE mirelon_shell)
  target_compile_definitions(mirelon PRIVATE MIRELON_VERSION="${PROJECT_VERSION}")
endif()
