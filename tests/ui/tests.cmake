# test_ui: the window framework, the layout format and the resource table.
# The native-window and notice dialog tests need an X server (scripts/test.sh
# runs ctest under xvfb-run); they run as test_ui_display, which skips without
# DISPLAY (and fails instead under RELAY_REQUIRE_DISPLAY=1).
file(GLOB ui_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
# The main window's tests talk to the editor stand-in on free ports.
relay_add_test(NAME test_ui SOURCES ${ui_tests} ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
               DISPLAY_TESTS "NativeFixture.*:X11MessageBoxTest.*:MainWindowOnScreen.*")
target_compile_definitions(test_ui PRIVATE
  RELAY_RESPACK_PATH="$<TARGET_FILE:relay-respack>"
  RELAY_RESOURCE_TABLE_PATH="${CMAKE_BINARY_DIR}/resources/QxResEmbed.bin"
  RELAY_UI_TEST_DIR="${CMAKE_CURRENT_LIST_DIR}")
add_dependencies(test_ui relay-respack)
