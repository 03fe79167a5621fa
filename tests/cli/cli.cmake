# Unit tests of the command-line front end, and end-to-end tests that run the built program.
mirelon_gtest(cli_tests
  SOURCES
    cli_arguments_test.cpp
    cli_output_test.cpp
  LIBS mirelon_cli_core
)
set_target_properties(cli_tests PROPERTIES AUTOMOC OFF)

mirelon_gtest(cli_end_to_end_tests
  SOURCES
    cli_end_to_end_test.cpp
    cli_remove_duplicates_test.cpp
    cli_scan_faults_test.cpp
    cli_scan_reach_test.cpp
    cli_test_output.cpp
    cli_test_process_posix.cpp
    cli_update_test.cpp
    ../scan/facts_test_files_posix.cpp
  LIBS mirelon_catalog
)
set_target_properties(cli_end_to_end_tests PROPERTIES AUTOMOC OFF)
add_dependencies(cli_end_to_end_tests mirelon-cli)
target_compile_definitions(cli_end_to_end_tests PRIVATE MIRELON_CLI="$<TARGET_FILE:mirelon-cli>")
