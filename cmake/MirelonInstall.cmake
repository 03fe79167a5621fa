# Install rules and the Debian package: both programs, the desktop entry, icons, AppStream
# metadata, man pages and bash completion, all from packaging/.
include(GNUInstallDirs)

set(MIRELON_APP_ID org.mirelon.Mirelon)
set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_generated ${PROJECT_BINARY_DIR}/packaging)

install(TARGETS mirelon-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_packaging}/mirelon-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME mirelon-cli)

set(_man_pages mirelon-cli)
if(TARGET mirelon)
  install(TARGETS mirelon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The window names its desktop entry, so that the desktop shows the entry's name and icon.
  target_compile_definitions(mirelon PRIVATE MIRELON_APP_ID="${MIRELON_APP_ID}")
  install(FILES ${_packaging}/${MIRELON_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_packaging}/${MIRELON_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_packaging}/${MIRELON_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${_packaging}/${MIRELON_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
  list(APPEND _man_pages mirelon)
endif()

# Man pages carry the project's version and are installed compressed, as Debian keeps them.
set(_compressed_pages)
foreach(_page ${_man_pages})
  configure_file(${_packaging}/${_page}.1.in ${_generated}/${_page}.1 @ONLY)
  add_custom_command(OUTPUT ${_generated}/${_page}.1.gz
    COMMAND gzip -9 -n -k -f ${_generated}/${_page}.1
    DEPENDS ${_generated}/${_page}.1
    COMMENT "Compressing man page ${_page}.1")
  list(APPEND _compressed_pages ${_generated}/${_page}.1.gz)
endforeach()
add_custom_target(mirelon_man_pages ALL DEPENDS ${_compressed_pages})
install(FILES ${_compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirelon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Mirelon developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file cataloguer that finds duplicate and unused files")
# Kept to lines under 80 characters, as the package's description shows them.
set(CPACK_PACKAGE_DESCRIPTION [[
Mirelon records every file of the local drives in an SQLite catalog, with
its size, checksum, times, imported libraries and version strings, and
answers from it which files are duplicates, which were not opened for
months and which libraries no program imports. It comes as a window
program and as the command line program mirelon-cli.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Mirelon developers")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Only the binary package; a source tarball would sweep up build folders.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

# The tests of all this need the id and the rules above, so they are added from here.
add_subdirectory(tests/packaging)
