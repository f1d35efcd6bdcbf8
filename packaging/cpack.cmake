# Builds a Debian package of the game with `cpack -G DEB` in the build folder. Included
# from the top-level CMakeLists.txt after every folder that installs something.
include(GNUInstallDirs)

set(VORBIX_PACKAGE_MAINTAINER "The Vorbix developers <maintainers@vorbix.invalid>"
  CACHE STRING "Maintainer named in the Debian package")

# Debian wants the licence of every package in its documentation folder.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright
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
# Qt 6.4 as Debian 12 ships it, the platform plugins that open the window, and the font
# families the game's labels are mapped to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libgcc-s1, \
libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins, \
fonts-liberation, fonts-ebgaramond, fonts-dejavu-core, fonts-urw-base35")

# `cpack --config CPackSourceConfig.cmake` makes a source tarball without build trees.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/" "/\\.cache/")

include(CPack)
