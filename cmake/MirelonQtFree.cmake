# Libraries that must build without Qt and without the programs' own headers.

# mirelon_qt_free(target...): marks libraries as Qt-free. The test qt_free_libraries checks that
# their sources, and every header of the repository that those include, name no Qt header
# (<Q...>) and no header from app/ or cli/ (a library in cli/ may use its own folder). They need
# no moc either.
function(mirelon_qt_free)
  set_property(GLOBAL APPEND PROPERTY MIRELON_QT_FREE_TARGETS ${ARGN})
  set_target_properties(${ARGN} PROPERTIES AUTOMOC OFF)
endfunction()

# Once every folder is in: writes the marked libraries' sources to a list and adds the test
# that reads it.
function(mirelon_add_qt_free_check)
  get_property(targets GLOBAL PROPERTY MIRELON_QT_FREE_TARGETS)
  set(list "")
  foreach(target ${targets})
    get_target_property(sources ${target} SOURCES)
    # The other platform's side of each seam is checked too (cmake/MirelonPlatform.cmake).
    get_target_property(otherSide ${target} MIRELON_OTHER_SIDE_SOURCES)
    if(otherSide)
      list(APPEND sources ${otherSide})
    endif()
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    foreach(source ${sources})
      if(NOT IS_ABSOLUTE ${source})
        set(source ${dir}/${source})
      endif()
      file(RELATIVE_PATH source ${PROJECT_SOURCE_DIR} ${source})
      string(APPEND list "${target} ${folder} ${source}\n")
    endforeach()
  endforeach()
  set(listFile ${PROJECT_BINARY_DIR}/qt_free_sources.txt)
  file(WRITE ${listFile} "${list}")
  add_test(NAME qt_free_libraries
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DSOURCES=${listFile}
      -P ${PROJECT_SOURCE_DIR}/cmake/CheckQtFree.cmake)
endfunction()
