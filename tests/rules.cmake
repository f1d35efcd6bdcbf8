# The window's layout and start-up, and the game's rules, each area in its own suite.
vorbix_test(window_tests
  window_layout_test.cpp
  window_startup_test.cpp
)
vorbix_test(rules_tests
  rules_pieces_test.cpp
  rules_falling_test.cpp
  rules_spawning_test.cpp
  rules_landing_test.cpp
  rules_rows_test.cpp
  rules_score_test.cpp
  rules_preview_test.cpp
)
