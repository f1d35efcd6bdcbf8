# The game as a native Wayland client: the real window under a headless sway, played with
# keys and clicks, closed by the compositor, its pictures compared with the offscreen ones at
# scale 1, with the game's own at twice the pixels at scale 2, and with the offscreen ones at
# the zoom that fits the window resized by sway and full screen.
if(TARGET vorbix AND TARGET picture_compare)
  foreach(scenario play scale2 resize)
    add_test(NAME wayland_${scenario}
      COMMAND ${CMAKE_CURRENT_LIST_DIR}/wayland/window_test.sh $<TARGET_FILE:vorbix> $<TARGET_FILE:vorbix-replay>
              $<TARGET_FILE:picture_compare> ${scenario})
    set_tests_properties(wayland_${scenario} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 LABELS wayland)
  endforeach()
endif()
