# Platform seams: a portable header with one source per side, NAME_posix.cpp and NAME_win32.cpp.
# Each build compiles its own side; the other side is recorded on the target
# (MIRELON_OTHER_SIDE_SOURCES), so that the checks of a library's sources (qt_free_libraries)
# read both sides whichever platform is built.

function(_mirelon_sides side other)
  if(WIN32)
    set(${side} win32 PARENT_SCOPE)
    set(${other} posix PARENT_SCOPE)
  else()
    set(${side} posix PARENT_SCOPE)
    set(${other} win32 PARENT_SCOPE)
  endif()
endfunction()

function(_mirelon_require_source file)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "no platform source ${file}")
  endif()
endfunction()

# mirelon_platform_sources(TARGET NAME...): adds NAME_win32.cpp to TARGET when building for
# Windows and NAME_posix.cpp otherwise, the two sides of one portable header; both must exist.
function(mirelon_platform_sources target)
  _mirelon_sides(side other)
  foreach(name ${ARGN})
    set(built ${CMAKE_CURRENT_SOURCE_DIR}/${name}_${side}.cpp)
    set(left ${CMAKE_CURRENT_SOURCE_DIR}/${name}_${other}.cpp)
    _mirelon_require_source(${built})
    _mirelon_require_source(${left})
    target_sources(${target} PRIVATE ${built})
    set_property(TARGET ${target} APPEND PROPERTY MIRELON_OTHER_SIDE_SOURCES ${left})
  endforeach()
endfunction()

# mirelon_one_side_sources(TARGET posix|win32 FILE...): sources only one side has, for a
# mechanism the other side does without; built on that side, recorded on the other.
function(mirelon_one_side_sources target files_side)
  _mirelon_sides(side other)
  foreach(file ${ARGN})
    set(file ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    _mirelon_require_source(${file})
    if(files_side STREQUAL side)
      target_sources(${target} PRIVATE ${file})
    else()
      set_property(TARGET ${target} APPEND PROPERTY MIRELON_OTHER_SIDE_SOURCES ${file})
    endif()
  endforeach()
endfunction()
