# Game flow: the virtual clock, the intro and gravity, collisions, keys and pause, restart,
# the curtain, what the page's live region tells of them, and vorbix-replay run in-process and as a program on reviewed scripts.
vorbix_test(flow_tests
  flow_clock_test.cpp
  flow_intro_test.cpp
  flow_collision_test.cpp
  flow_keys_test.cpp
  flow_restart_test.cpp
  flow_curtain_test.cpp
  ${PROJECT_SOURCE_DIR}/web/news.cpp
)

vorbix_test(replay_tests
  replay_script_test.cpp
  replay_games_test.cpp
)
target_compile_definitions(replay_tests PRIVATE
  VORBIX_REPLAY_SCRIPTS="${CMAKE_CURRENT_SOURCE_DIR}/replay"
  VORBIX_REPLAY_PROGRAM="$<TARGET_FILE:vorbix-replay>")
add_dependencies(replay_tests vorbix-replay)
