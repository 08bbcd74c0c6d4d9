# Installation and the Debian package.
#
# `cmake --install` puts both programs side by side in <prefix>/bin (they share one own
# folder), and the data files below in <prefix>/share: among them, for file managers, the
# MIME types of the simulator's files and the thumbnailer entry that runs
# `pictelle-cli thumbnail`. `cpack -G DEB` packs the same tree;
# scripts/package.sh configures it for /usr with Debian's build flags and checks the result
# with lintian. The package depends on the Debian packages of the libraries the programs
# link against, worked out by dpkg-shlibdeps when it is there, plus Qt's platform plugins,
# without which the window cannot open.
include(GNUInstallDirs)

foreach(program pictelle pictelle-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# --- What the changelog says --------------------------------------------------------------
# CHANGELOG.md is the one record of versions: the Debian changelog, the metainfo's releases
# and the manual pages' date come from it, and its newest version must be the project's.
set(PICTELLE_CHANGELOG ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set(PICTELLE_CHANGELOG_TOOL ${PROJECT_SOURCE_DIR}/packaging/changelog.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PICTELLE_CHANGELOG} ${PICTELLE_CHANGELOG_TOOL})
function(pictelle_changelog form output_variable)
  execute_process(COMMAND bash ${PICTELLE_CHANGELOG_TOOL} ${form} ${PICTELLE_CHANGELOG} ${ARGN}
                  OUTPUT_VARIABLE output RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "CHANGELOG.md cannot be read (${form}); see the message above")
  endif()
  string(STRIP "${output}" output)
  set(${output_variable} "${output}" PARENT_SCOPE)
endfunction()
pictelle_changelog(latest PICTELLE_CHANGELOG_VERSION)
if(NOT PICTELLE_CHANGELOG_VERSION STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "CHANGELOG.md's newest version is ${PICTELLE_CHANGELOG_VERSION}, "
                      "the project's ${PROJECT_VERSION}: add the new version's changes")
endif()
file(STRINGS ${PICTELLE_CHANGELOG} PICTELLE_RELEASE_HEADING
     REGEX "^## ${PROJECT_VERSION} \\(" LIMIT_COUNT 1)
string(REGEX REPLACE ".*\\(([0-9-]+)\\).*" "\\1" PICTELLE_RELEASE_DATE
       "${PICTELLE_RELEASE_HEADING}")
pictelle_changelog(appstream PICTELLE_RELEASES)

# --- Generated files ----------------------------------------------------------------------
set(PICTELLE_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
set(PICTELLE_APPSTREAM_ID fr.pictelle.Pictelle)
if(PICTELLE_CONTACT_ADDRESS STREQUAL "")
  set(PICTELLE_METAINFO_CONTACT "")
else()
  set(PICTELLE_METAINFO_CONTACT
      "<update_contact>${PICTELLE_CONTACT_ADDRESS}</update_contact>")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/pictelle.metainfo.xml.in
               ${PICTELLE_PACKAGING_DIR}/${PICTELLE_APPSTREAM_ID}.metainfo.xml @ONLY)

# Manual pages: packaging/man/NAME.SECTION.in, filled in with the version and folders.
set(PICTELLE_MAN_PAGES pictelle.1 pictelle-cli.1)

# --- Installed data files: one list --------------------------------------------------------
# Pairs of a file (relative to the source tree, or absolute for a generated one) and the
# folder it is installed into, relative to the prefix. Manual pages and the files under
# share/doc are added below; the packaging tests validate the desktop and metainfo files
# of this list.
set(PICTELLE_DATA_FILES
  ${PROJECT_SOURCE_DIR}/packaging/pictelle.desktop
    ${CMAKE_INSTALL_DATADIR}/applications
  ${PROJECT_SOURCE_DIR}/packaging/pictelle.svg
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  ${PICTELLE_PACKAGING_DIR}/${PICTELLE_APPSTREAM_ID}.metainfo.xml
    ${CMAKE_INSTALL_DATADIR}/metainfo
  ${PROJECT_SOURCE_DIR}/packaging/mime/pictelle.xml
    ${CMAKE_INSTALL_DATADIR}/mime/packages
  ${PROJECT_SOURCE_DIR}/packaging/pictelle.thumbnailer
    ${CMAKE_INSTALL_DATADIR}/thumbnailers
)

# Files Debian wants compressed, with no time stamp so that two builds give the same bytes:
# the manual pages and the changelog.
set(PICTELLE_COMPRESSED)
function(pictelle_compress source destination)
  get_filename_component(name ${source} NAME)
  set(compressed ${PICTELLE_PACKAGING_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND gzip -9 -n -c ${source} > ${compressed}
                     DEPENDS ${source} VERBATIM)
  install(FILES ${compressed} DESTINATION ${destination})
  set(PICTELLE_COMPRESSED ${PICTELLE_COMPRESSED} ${compressed} PARENT_SCOPE)
endfunction()
file(MAKE_DIRECTORY ${PICTELLE_PACKAGING_DIR}/compressed)

set(PICTELLE_MAN_OUTPUTS)
foreach(page ${PICTELLE_MAN_PAGES})
  string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${page})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${page}.in
                 ${PICTELLE_PACKAGING_DIR}/man/${page} @ONLY)
  list(APPEND PICTELLE_MAN_OUTPUTS ${PICTELLE_PACKAGING_DIR}/man/${page})
  pictelle_compress(${PICTELLE_PACKAGING_DIR}/man/${page} ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

# The package's own documents: its licence terms in Debian's copyright format and its
# changelog in Debian's form. The maintainer of the changelog's entries is the package's.
set(PICTELLE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pictelle)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${PICTELLE_DOC_DIR})
if(NOT PICTELLE_CONTACT STREQUAL "")
  pictelle_changelog(debian PICTELLE_DEBIAN_CHANGELOG pictelle "${PICTELLE_CONTACT}")
  file(WRITE ${PICTELLE_PACKAGING_DIR}/changelog "${PICTELLE_DEBIAN_CHANGELOG}\n")
  pictelle_compress(${PICTELLE_PACKAGING_DIR}/changelog ${PICTELLE_DOC_DIR})
endif()

add_custom_target(packaging_files ALL DEPENDS ${PICTELLE_COMPRESSED})

while(PICTELLE_DATA_FILES)
  list(POP_FRONT PICTELLE_DATA_FILES file destination)
  install(FILES ${file} DESTINATION ${destination})
  list(APPEND PICTELLE_INSTALLED_DATA ${file})
endwhile()

# --- The Debian package --------------------------------------------------------------------
set(CPACK_PACKAGE_NAME pictelle)
set(CPACK_PACKAGE_VENDOR "Pictelle")
set(CPACK_PACKAGE_CONTACT "${PICTELLE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PICTELLE_CONTACT}")
# The synopsis stays under 80 characters; the description's lines are wrapped below 80 as
# the control file wants them.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "thumbnail maker for Train Simulator rolling stock")
set(CPACK_PACKAGE_DESCRIPTION
    "Pictelle lists the locomotives and wagons installed in a Microsoft Train\n\
Simulator folder, shows each one at thumbnail size and writes its thumbnail,\n\
a small bitmap, for the Rametta consist editor. The window is in French.\n\
pictelle-cli does the same from a terminal, without a display.")
# The folder the programs were configured for: an installed copy knows itself by it.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
find_program(PICTELLE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PICTELLE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
  # The same list by hand, for Debian 12, when dpkg-dev is not installed.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libgcc-s1, libstdc++6, libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6widgets6 (>= 6.2), zlib1g, qt6-qpa-plugins")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
