# Installation and the release packages: a Debian package on Linux, a zip from the MinGW
# build. Both carry the programs, the README, the guide and the notes for developers with the
# pictures they show, the examples,
# the licence and the changelog; the Debian package and a plain install also the man pages.
# Debian's own changelog and copyright files go into the package only.
include(GNUInstallDirs)
set(maintainer "The csv2pnp project <maintainers@csv2pnp.example>")
# Every example the documents use, and the pictures they show.
file(GLOB example_files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*)
set(doc_pictures doc/osc1.svg doc/report.png doc/report-print.png doc/chart-nine-inputs.png doc/chart-dark.png)

if(WIN32)
  # One folder, as Windows users unpack it; text files with CR LF for Notepad.
  install(TARGETS csv2pnp pnpplot RUNTIME DESTINATION .)
  foreach(doc README.md LICENSE CHANGELOG.md doc/guide.md doc/developing.md)
    set(name ${doc})
    if(doc STREQUAL "LICENSE")
      set(name LICENSE.txt)
    endif()
    configure_file(${doc} ${CMAKE_BINARY_DIR}/package/${name} @ONLY NEWLINE_STYLE CRLF)
    get_filename_component(folder ${name} DIRECTORY)
    install(FILES ${CMAKE_BINARY_DIR}/package/${name} DESTINATION ./${folder})
  endforeach()
  install(FILES ${doc_pictures} DESTINATION doc)
  install(FILES ${example_files} DESTINATION examples)
else()
  # Man pages and the changelog compressed, as Debian keeps them; -n leaves no time stamp in.
  find_program(GZIP gzip REQUIRED)
  set(compressed)
  foreach(page csv2pnp pnpplot)
    configure_file(doc/${page}.1.in ${CMAKE_BINARY_DIR}/${page}.1 @ONLY)
    list(APPEND compressed ${CMAKE_BINARY_DIR}/${page}.1)
  endforeach()
  # The project's changelog, and the short one in Debian's format that a package carries.
  configure_file(CHANGELOG.md ${CMAKE_BINARY_DIR}/CHANGELOG.md COPYONLY)
  string(TIMESTAMP release_date "%a, %d %b %Y 00:00:00 +0000" UTC)
  file(WRITE ${CMAKE_BINARY_DIR}/changelog
       "csv2pnp (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
       "  * Release ${PROJECT_VERSION}; its changes are listed in CHANGELOG.md.gz.\n\n"
       " -- ${maintainer}  ${release_date}\n")
  list(APPEND compressed ${CMAKE_BINARY_DIR}/CHANGELOG.md ${CMAKE_BINARY_DIR}/changelog)
  foreach(file ${compressed})
    add_custom_command(OUTPUT ${file}.gz COMMAND ${GZIP} -9nc ${file} > ${file}.gz DEPENDS ${file} VERBATIM)
  endforeach()
  list(TRANSFORM compressed APPEND .gz)
  add_custom_target(compressed_docs ALL DEPENDS ${compressed})
  # Debian's machine-readable copyright file, its licence text taken from LICENSE.
  file(READ LICENSE licence_text)
  string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" licence_text "${licence_text}")
  string(STRIP "${licence_text}" licence_text)
  string(REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
  string(REPLACE "\n" "\n " licence_text " ${licence_text}")
  file(WRITE ${CMAKE_BINARY_DIR}/copyright
       "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
       "Upstream-Name: csv2pnp\n\nFiles: *\nCopyright: 2026 The csv2pnp project\nLicense: Expat\n${licence_text}\n")

  install(TARGETS csv2pnp pnpplot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_BINARY_DIR}/csv2pnp.1.gz ${CMAKE_BINARY_DIR}/pnpplot.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md ${CMAKE_BINARY_DIR}/CHANGELOG.md.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${doc_pictures} doc/guide.md doc/developing.md DESTINATION ${CMAKE_INSTALL_DOCDIR}/doc)
  install(FILES ${example_files} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR}
          COMPONENT debian EXCLUDE_FROM_ALL)
endif()

set(CPACK_PACKAGE_NAME csv2pnp)
set(CPACK_PACKAGE_VENDOR "The csv2pnp project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "phase-noise analyzer exports to noise plot files, and charts")
set(CPACK_PACKAGE_DESCRIPTION "csv2pnp converts the CSV exports of a PN2060 phase-noise analyzer into the
composite-noise plot files (.pnp) that the Zembrik GPIB Toolkit's noise-plot
viewer reads. pnpplot draws plot files and exports as an SVG chart and prints
spot noise, integrated phase noise, RMS phase and jitter, and residual FM.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME csv2pnp-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  # One package of both components, so that it holds Debian's files too.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified debian)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${maintainer}")
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
endif()
include(CPack)
