# The Qt backend: pictures and behaviour of the game window on Qt's offscreen platform, and
# the real window under Xvfb, driven like a player.
add_executable(qt_tests qt_test_main.cpp qt_surface_test.cpp qt_window_test.cpp qt_front_end_test.cpp)
target_link_libraries(qt_tests PRIVATE vorbix_script vorbix_qt GTest::gtest GTest::gmock)
target_include_directories(qt_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
gtest_discover_tests(qt_tests
  TEST_PREFIX "qt."
  DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

add_test(NAME qt_no_display
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/no_display_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:vorbix-replay>)

# The window tests close the game as a window manager would, with a small X client.
find_package(X11 REQUIRED)
add_executable(wm_close xvfb/wm_close.cpp)
target_link_libraries(wm_close PRIVATE X11::X11)
foreach(scenario picture close-question restart)
  add_test(NAME qt_xvfb_${scenario}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/window_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:wm_close> ${scenario})
  set_tests_properties(qt_xvfb_${scenario} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
endforeach()

# The window at any size under a window manager: its pictures at every zoom, clicks and keys,
# the size it is left at, and a game that never hears of any of it.
foreach(scenario scaled remembered recorded)
  add_test(NAME qt_xvfb_resize_${scenario}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/resize_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:vorbix-replay>
            $<TARGET_FILE:picture_compare> ${scenario})
  set_tests_properties(qt_xvfb_resize_${scenario} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 240)
endforeach()

# Fifty restarts of the real backend and window, in a program of their own: LeakSanitizer
# checks the memory when it ends.
add_executable(qt_soak_tests qt_test_main.cpp qt_soak_test.cpp)
target_link_libraries(qt_soak_tests PRIVATE vorbix_core vorbix_qt GTest::gtest)
target_include_directories(qt_soak_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
gtest_discover_tests(qt_soak_tests
  TEST_PREFIX "qt."
  DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)

# Closing the window in every state of a game ends the program with status 0, soon: within a
# second, or three under the sanitizers, whose leak check runs at the end.
if(VORBIX_SANITIZE)
  set(vorbix_close_bound_ms 3000)
else()
  set(vorbix_close_bound_ms 1000)
endif()
foreach(state question intro play paused gameover restart-question)
  add_test(NAME qt_xvfb_close_in_${state}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/close_states_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:wm_close>
            ${state} ${vorbix_close_bound_ms})
  set_tests_properties(qt_xvfb_close_in_${state} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
endforeach()

# A game recorded, replayed and watched; a recording that cannot be written; a killed one.
add_test(NAME qt_xvfb_record_watch
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/record_watch_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:wm_close>
          $<TARGET_FILE:vorbix-replay> $<TARGET_FILE:picture_compare>)
set_tests_properties(qt_xvfb_record_watch PROPERTIES TIMEOUT 180)

# The package installed into an empty root, launched from its menu entry, then removed.
add_test(NAME qt_xvfb_menu_launch
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/menu_launch_test.sh ${CMAKE_BINARY_DIR}/package $<TARGET_FILE:wm_close>
          ${VORBIX_APP_ID})
set_tests_properties(qt_xvfb_menu_launch PROPERTIES TIMEOUT 120 LABELS package FIXTURES_REQUIRED vorbix_package)

# Twenty thousand random keys on the real window; about half a minute.
add_test(NAME qt_xvfb_key_storm
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/key_storm_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:wm_close>)
set_tests_properties(qt_xvfb_key_storm PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 240 LABELS slow)

# A whole game played with a virtual game controller, plugged in and pulled out, recorded and
# replayed.
find_package(SDL2 REQUIRED)
add_executable(pad_game xvfb/pad_game.cpp)
target_link_libraries(pad_game PRIVATE vorbix_script vorbix_qt SDL2::SDL2)
add_test(NAME qt_xvfb_pad
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/pad_test.sh $<TARGET_FILE:pad_game> $<TARGET_FILE:wm_close>
          $<TARGET_FILE:vorbix-replay>)
set_tests_properties(qt_xvfb_pad PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)

# The window's painted labels and its buttons in the accessible tree, read over AT-SPI.
add_test(NAME qt_xvfb_accessible
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xvfb/accessible_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:wm_close>)
set_tests_properties(qt_xvfb_accessible PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
