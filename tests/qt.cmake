# The Qt backend: pictures and behaviour of the game window on Qt's offscreen platform, and
# the real window under Xvfb, driven like a player.
add_executable(qt_tests qt_test_main.cpp qt_surface_test.cpp qt_window_test.cpp qt_backend_test.cpp)
target_link_libraries(qt_tests PRIVATE vorbix_qt GTest::gtest GTest::gmock)
target_include_directories(qt_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
gtest_discover_tests(qt_tests
  TEST_PREFIX "qt."
  DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

add_test(NAME qt_no_display COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/no_display_test.sh $<TARGET_FILE:vorbix>)

# The window tests close the game as a window manager would, with a small X client.
find_package(X11)
if(X11_FOUND)
  add_executable(wm_close xvfb/wm_close.cpp)
  target_link_libraries(wm_close PRIVATE X11::X11)
  foreach(scenario picture close-question restart)
    add_test(NAME qt_xvfb_${scenario}
      COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/window_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:wm_close> ${scenario})
    set_tests_properties(qt_xvfb_${scenario} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
  endforeach()
endif()
