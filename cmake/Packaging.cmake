# Installation and the Debian package.
#
# `cmake --install` puts both programs side by side in <prefix>/bin (they share one own
# folder), the menu entry in share/applications and the icon in the hicolor theme; for file
# managers, the MIME types of the simulator's files in share/mime/packages and the thumbnailer
# entry that runs `pictelle-cli thumbnail` in share/thumbnailers.
# `cpack -G DEB` packs the same tree for /usr; the package depends on the Debian packages
# of the libraries the programs link against, worked out by dpkg-shlibdeps when it is
# there, plus Qt's platform plugins, without which the window cannot open.
include(GNUInstallDirs)

foreach(program pictelle pictelle-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pictelle.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pictelle.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pictelle-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pictelle.xml)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/pictelle.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

set(CPACK_PACKAGE_NAME pictelle)
set(CPACK_PACKAGE_VENDOR "Pictelle")
set(CPACK_PACKAGE_CONTACT "Pictelle maintainers <pictelle@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Thumbnail maker for Train Simulator rolling stock, for the Rametta consist editor")
set(CPACK_PACKAGE_DESCRIPTION
    "Pictelle lists the locomotives and wagons of a Microsoft Train Simulator folder, shows\n\
each one at thumbnail size and writes its thumbnail bitmap for the Rametta consist\n\
editor. The window is in French; pictelle-cli does the same from a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/pictelle")
find_program(PICTELLE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PICTELLE_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
  # The same list by hand, for Debian 12, when dpkg-dev is not installed.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libgcc-s1, libstdc++6, libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6widgets6 (>= 6.2), zlib1g, libsquish0, qt6-qpa-plugins")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
