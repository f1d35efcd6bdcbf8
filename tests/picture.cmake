# Pictures of scripted game states, rendered by vorbix-replay --png with the game window's own
# painting code and compared with reviewed references in pictures/. On a mismatch the actual
# picture and a diff are written under the build folder's pictures/ and their paths printed.
add_executable(picture_tests picture_test.cpp picture_compare.cpp)
target_link_libraries(picture_tests PRIVATE Qt6::Gui GTest::gtest GTest::gtest_main)
target_include_directories(picture_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(picture_tests PRIVATE
  VORBIX_REPLAY_PROGRAM="$<TARGET_FILE:vorbix-replay>"
  VORBIX_PICTURE_REFERENCES="${CMAKE_CURRENT_SOURCE_DIR}/pictures"
  VORBIX_PICTURE_OUTPUT="${CMAKE_CURRENT_BINARY_DIR}/pictures")
add_dependencies(picture_tests vorbix-replay)
gtest_discover_tests(picture_tests
  TEST_PREFIX "picture."
  DISCOVERY_MODE PRE_TEST
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The same comparison for the shell tests of the real window.
add_executable(picture_compare picture_compare_main.cpp picture_compare.cpp)
target_link_libraries(picture_compare PRIVATE Qt6::Gui)
