# Helpers shared by the test, benchmark and fuzz folders.
find_package(GTest REQUIRED)

# mirelon_gtest(NAME SOURCES... LIBS ...): one GoogleTest binary, run by CTest as one test. Every
# test links the shared helpers of tests/support.
function(mirelon_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} mirelon_test_support GTest::gtest
    GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# mirelon_qttest(NAME SOURCES... LIBS ...): one Qt Test binary on the offscreen platform.
function(mirelon_qttest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} mirelon_test_support Qt6::Test Qt6::Widgets
    Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# mirelon_fuzzer(NAME SOURCES... LIBS ...): a libFuzzer target, only with MIRELON_FUZZ.
function(mirelon_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# mirelon_parts(part...): include <part>.cmake from the current folder for each part; a part
# named here that does not exist stops the configuration.
macro(mirelon_parts)
  foreach(_part ${ARGN})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_part}.cmake)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}: no part file ${_part}.cmake")
    endif()
    include(${CMAKE_CURRENT_SOURCE_DIR}/${_part}.cmake)
  endforeach()
endmacro()

# mirelon_subdirs(dir...): add each sub-folder; one without a CMakeLists.txt stops the
# configuration.
macro(mirelon_subdirs)
  foreach(_dir ${ARGN})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_dir}/CMakeLists.txt)
      message(FATAL_ERROR "${CMAKE_CURRENT_SOURCE_DIR}: no ${_dir}/CMakeLists.txt")
    endif()
    add_subdirectory(${_dir})
  endforeach()
endmacro()
