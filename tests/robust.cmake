# Robustness: event-stream fuzzing, a soak of many games, hostile replay scripts, and (with
# clang and VORBIX_FUZZ) a libFuzzer target over vorbix-replay's scripts.
vorbix_test(robust_fuzz_tests ${CMAKE_CURRENT_LIST_DIR}/robust_fuzz_test.cpp)
vorbix_test(robust_soak_tests ${CMAKE_CURRENT_LIST_DIR}/robust_soak_test.cpp)
vorbix_test(robust_replay_tests ${CMAKE_CURRENT_LIST_DIR}/robust_replay_test.cpp)
target_compile_definitions(robust_replay_tests PRIVATE
  VORBIX_REPLAY_PROGRAM="$<TARGET_FILE:vorbix-replay>")
add_dependencies(robust_replay_tests vorbix-replay)
if(TARGET vorbix)
  target_compile_definitions(robust_replay_tests PRIVATE VORBIX_GAME_PROGRAM="$<TARGET_FILE:vorbix>")
  add_dependencies(robust_replay_tests vorbix)
endif()

option(VORBIX_FUZZ "Build the libFuzzer target over vorbix-replay's scripts (clang only)" OFF)
if(VORBIX_FUZZ)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # The game and the replay engine are instrumented for coverage; the target adds the
    # fuzzer's own main.
    foreach(library vorbix_platform vorbix_core vorbix_headless vorbix_script)
      target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
    endforeach()
    add_executable(replay_fuzzer ${CMAKE_CURRENT_LIST_DIR}/fuzz/replay_fuzzer.cpp)
    target_include_directories(replay_fuzzer PRIVATE ${CMAKE_CURRENT_LIST_DIR})
    target_compile_options(replay_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(replay_fuzzer PRIVATE vorbix_script)
    target_link_options(replay_fuzzer PRIVATE -fsanitize=fuzzer)
  else()
    message(WARNING "VORBIX_FUZZ needs clang; the replay fuzzer is not built")
  endif()
endif()
