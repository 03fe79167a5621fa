# The window program: main window, start-up, the scan command and the Qt side of the helper thread.
if(MIRELON_GUI)
  add_library(mirelon_shell STATIC
    app_windows.cpp
    blinking_label.cpp
    frm_main.cpp
    frm_main_jobs.cpp
    navigation_bar.cpp
    program_end.cpp
    program_end_request.cpp
    scan_commands.cpp
    qt_window_thread.cpp
    startup_hooks.cpp
    termination_signals.h
    termination_signals_posix.cpp
    thread_ex_object.cpp
  )
  target_include_directories(mirelon_shell PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(mirelon_shell PUBLIC mirelon_session mirelon_results mirelon_scanrun
    mirelon_options mirelon_exclusions mirelon_widgets Qt6::Widgets)

  add_executable(mirelon main.cpp)
  target_link_libraries(mirelon PRIVATE mirelon_shell)
  target_compile_definitions(mirelon PRIVATE MIRELON_VERSION="${PROJECT_VERSION}")
endif()
