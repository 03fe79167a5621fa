# The command-line front end: argument parsing and the commands in a Qt-free library, so tests
# can drive them without starting the program.
add_library(mirelon_cli_core STATIC
  cli_arguments.cpp
  cli_catalog_location.cpp
  cli_drives_command.cpp
  cli_hash_command.cpp
  cli_help.cpp
  cli_query_command.cpp
  cli_remove_command.cpp
  cli_runner.cpp
  cli_scan_command.cpp
  cli_scan_progress.cpp
)
# Ctrl-C and the like, the terminal, the arguments and standard streams, and the parts of the
# help that differ, for each platform.
mirelon_platform_sources(mirelon_cli_core cli_console cli_interrupt cli_terminal
  cli_platform_help)
if(WIN32)
  # CommandLineToArgvW
  target_link_libraries(mirelon_cli_core PRIVATE shell32)
endif()
target_include_directories(mirelon_cli_core PUBLIC ${PROJECT_SOURCE_DIR})
mirelon_qt_free(mirelon_cli_core)
target_link_libraries(mirelon_cli_core PUBLIC mirelon_session mirelon_scanrun mirelon_query
  mirelon_cleanup mirelon_hash mirelon_catalog mirelon_drives mirelon_output)
target_compile_definitions(mirelon_cli_core PRIVATE MIRELON_VERSION="${PROJECT_VERSION}")

add_executable(mirelon-cli cli_main.cpp)
target_link_libraries(mirelon-cli PRIVATE mirelon_cli_core)
# Next to the window program, so that both find the same catalog by default.
set_target_properties(mirelon-cli PROPERTIES AUTOMOC OFF RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/app)
