# Unit tests of the command-line front end, and end-to-end tests that run the built program.
mirelon_gtest(cli_tests
  SOURCES
    cli_arguments_test.cpp
    cli_output_test.cpp
  LIBS mirelon_cli_core
)
# Symbolic links among the folders named: Linux only.
mirelon_one_side_sources(cli_tests posix cli_arguments_test_posix.cpp)
set_target_properties(cli_tests PROPERTIES AUTOMOC OFF)

mirelon_gtest(cli_end_to_end_tests
  SOURCES
    cli_end_to_end_test.cpp
    cli_remove_duplicates_test.cpp
    cli_scan_faults_test.cpp
    cli_test_output.cpp
  LIBS mirelon_catalog mirelon_base
)
mirelon_platform_sources(cli_end_to_end_tests cli_test_process)
# Linux tools as oracles, signals, privileges, mounts and names only Linux allows; and on
# Windows the system's drives, every hash method against the engine, and Program Files.
mirelon_one_side_sources(cli_end_to_end_tests posix cli_end_to_end_test_posix.cpp
  cli_remove_duplicates_test_posix.cpp cli_scan_faults_test_posix.cpp cli_scan_reach_test_posix.cpp
  cli_scan_jobs_test_posix.cpp cli_update_test_posix.cpp ../scan/facts_test_files_posix.cpp
  ../scan/pe_image_writer.cpp)
mirelon_one_side_sources(cli_end_to_end_tests win32 cli_end_to_end_test_win32.cpp)
if(WIN32)
  target_link_libraries(cli_end_to_end_tests PRIVATE mirelon_hash)
endif()
set_target_properties(cli_end_to_end_tests PROPERTIES AUTOMOC OFF)
add_dependencies(cli_end_to_end_tests mirelon-cli)
target_compile_definitions(cli_end_to_end_tests PRIVATE MIRELON_CLI="$<TARGET_FILE:mirelon-cli>")
