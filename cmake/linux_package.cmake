# What an installed Linux program brings besides itself and its data: the menu
# entry, icons in the hicolor theme, AppStream metadata, manual pages and the
# package's documents; and the .deb that carries them (cpack, ./dev package).

set(res ${PROJECT_SOURCE_DIR}/res)

if(TARGET zelk2html)
  install(FILES ${res}/icons/zelk2html.svg DESTINATION share/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 256)
    install(FILES ${res}/icons/zelk2html-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME zelk2html.png)
  endforeach()
  install(FILES ${res}/org.zelk2html.zelk2html.metainfo.xml DESTINATION share/metainfo)
  # A menu finds the program on PATH, where /usr/bin and /usr/local/bin are
  # from the start; another prefix's bin/ (~/.local/bin) may join PATH only
  # at the next login, so the entry names the program by its full path there.
  install(CODE "
    set(program zelk2html)
    if(NOT CMAKE_INSTALL_PREFIX MATCHES \"^/usr(/local)?/?$\")
      set(program \"\${CMAKE_INSTALL_PREFIX}/bin/zelk2html\")
    endif()
    file(READ \"${res}/zelk2html.desktop.in\" entry)
    string(REPLACE \"@ZELK_DESKTOP_EXEC@\" \"\${program}\" entry \"\${entry}\")
    set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/zelk2html.desktop\")
    message(STATUS \"Installing: \${file}\")
    file(WRITE \"\${file}\" \"\${entry}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/share/applications/zelk2html.desktop\")
  ")
endif()

# Manual pages from the programs' own --help and --version.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(man_pages "")
  foreach(program zelk2html zelk2html-cli)
    if(NOT TARGET ${program})
      continue()
    endif()
    if(program STREQUAL zelk2html)
      set(name "turn a worked-grid listing into a printable map of grid squares")
    else()
      set(name "write the grid map page of a worked-grid listing")
    endif()
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND ${HELP2MAN} --no-info --section=1 --name=${name} --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      COMMENT "Writing the manual page of ${program}"
      VERBATIM)
    list(APPEND man_pages ${page}.gz)
  endforeach()
  add_custom_target(zelk_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION share/man/man1)
else()
  message(STATUS "help2man not found: no manual pages (Debian: apt-get install help2man)")
endif()

# Debian wants these in every package; gzip -n keeps the file the same from
# build to build.
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debian
  COMMAND gzip -9nc ${res}/debian/changelog > ${PROJECT_BINARY_DIR}/debian/changelog.gz
  DEPENDS ${res}/debian/changelog)
add_custom_target(zelk_package_documents ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES ${res}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz DESTINATION share/doc/zelk2html)
# A listing to try the programs on; uncompressed, so that it opens as it is.
install(FILES ${PROJECT_SOURCE_DIR}/examples/grids.csv DESTINATION share/doc/zelk2html/examples)

# The .deb: its dependencies are what dpkg-shlibdeps finds the programs need.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelk2html)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "printable maps of worked Maidenhead grid squares")
# CPack puts the summary first and indents these lines under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ZELK to HTML reads the worked-grid listing a logging program exports (CSV:
one row per Maidenhead grid square, one column per band) and writes one
printable HTML page for the band chosen: a rectangle of Maidenhead fields
sized to a sheet of paper, each field a table of its hundred squares
coloured by their status, optionally with the FFMA squares outlined.

The package holds the dialog, zelk2html, and the command-line program
zelk2html-cli, which writes the same pages for scripts.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZELK to HTML developers <zelk2html@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
