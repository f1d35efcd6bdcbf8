# The desktop integration: the menu entry, the metainfo and the icon are valid and agree,
# `cmake --install` puts them where a desktop finds them, and the Debian package holds
# them with the right dependencies (label "package": ctest -L package).
#
# The package is built the one way there is, by dpkg-buildpackage from debian/, which takes
# minutes: the package tests run against a built .deb given as VORBIX_PACKAGE
# (scripts/check-package.sh gives the one it builds) and are disabled without one.
if(NOT VORBIX_APP_ID)
  message(FATAL_ERROR "tests/desktop.cmake needs data/ added before tests/")
endif()

set(desktop_scripts ${CMAKE_CURRENT_LIST_DIR}/desktop)
get_filename_component(desktop_data_dir ${VORBIX_DESKTOP_FILE} DIRECTORY)
if(TARGET vorbix)
  set(desktop_expect_program 1)
else()
  set(desktop_expect_program 0)
endif()

function(vorbix_desktop_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 LABELS desktop)
endfunction()

vorbix_desktop_test(desktop_entry_valid
  bash ${desktop_scripts}/validate_desktop_entry.sh ${VORBIX_DESKTOP_FILE})
vorbix_desktop_test(desktop_metainfo_valid
  bash ${desktop_scripts}/validate_metainfo.sh ${VORBIX_METAINFO_FILE})
vorbix_desktop_test(desktop_icon_wellformed
  bash ${desktop_scripts}/check_svg.sh ${VORBIX_ICON_FILE})
vorbix_desktop_test(desktop_ids_agree
  ${CMAKE_COMMAND} -DAPP_ID=${VORBIX_APP_ID} -DDESKTOP=${VORBIX_DESKTOP_FILE}
  -DICON=${VORBIX_ICON_FILE} -DMETAINFO=${VORBIX_METAINFO_FILE} -DPROGRAM=vorbix
  -DVERSION=${PROJECT_VERSION} -P ${desktop_scripts}/check_ids.cmake)
if(TARGET vorbix)
  vorbix_desktop_test(desktop_manual_pages
    bash ${desktop_scripts}/check_man_pages.sh ${VORBIX_MAN_PAGES} -- $<TARGET_FILE:vorbix> $<TARGET_FILE:vorbix-replay>)
endif()
vorbix_desktop_test(desktop_install
  bash ${desktop_scripts}/check_install.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR}
  ${VORBIX_APP_ID} ${desktop_data_dir} ${VORBIX_METAINFO_FILE} ${desktop_expect_program})

set(VORBIX_PACKAGE "" CACHE FILEPATH "A vorbix .deb built by dpkg-buildpackage, for the package tests")
if(VORBIX_PACKAGE)
  # The package's files, control fields and lintian; it puts the package where the menu
  # launch test finds it.
  vorbix_desktop_test(desktop_package
    bash ${desktop_scripts}/check_package.sh ${VORBIX_PACKAGE} ${CMAKE_BINARY_DIR}/package ${VORBIX_APP_ID}
    ${VORBIX_CHANGELOG} ${PROJECT_VERSION})
  set_tests_properties(desktop_package PROPERTIES LABELS "desktop;package" FIXTURES_SETUP vorbix_package)
elseif(TEST qt_xvfb_menu_launch)
  set_tests_properties(qt_xvfb_menu_launch PROPERTIES DISABLED TRUE)
endif()
