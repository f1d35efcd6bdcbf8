# Builds a Debian package of the game with `cpack -G DEB` in the build folder. Included
# from the top-level CMakeLists.txt after every folder that installs something.
include(GNUInstallDirs)

set(VORBIX_PACKAGE_MAINTAINER "The Vorbix developers <vorbix@users.noreply.github.com>"
  CACHE STRING "Maintainer named in the Debian package")

# Debian wants the licence of every package in its documentation folder, and the history of
# the package there too, compressed.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorbix)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog.Debian ${CMAKE_BINARY_DIR}/packaging/
  COMMAND ${VORBIX_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/changelog.Debian
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog.Debian VERBATIM)
# The one lintian tag the package overrides, with the reason, in lintian-overrides.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vorbix)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorbix)

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorbix)
set(CPACK_PACKAGE_VENDOR "The Vorbix developers")
set(CPACK_PACKAGE_CONTACT "${VORBIX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game for the desktop")
# Debian wants the long description in lines of under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Vorbix drops pieces made of square cells into a walled well ten cells wide."
  "The player slides and turns each piece so that it settles where it fits;"
  "full rows disappear, and the game ends when the pile reaches the top. An"
  "optional hard mode adds larger pieces as the score climbs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VORBIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the platform plugins that open
# the window and the font families the game's labels are mapped to are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, fonts-liberation, fonts-ebgaramond, fonts-dejavu-core, fonts-urw-base35")

# `cpack --config CPackSourceConfig.cmake` makes a source tarball without build trees.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/" "/\\.cache/")

include(CPack)
