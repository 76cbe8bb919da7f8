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

# The layout loader over layout text from outside, and the drawing of what it made.
if(RELAY_FUZZ)
  relay_add_fuzzer(NAME layout_fuzzer TARGET ${CMAKE_CURRENT_LIST_DIR}/LayoutFuzzer.cpp
    CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/layout
    SOURCES ${RELAY_ui_SOURCES} ${RELAY_io_SOURCES} ${RELAY_platform_SOURCES} ${RELAY_util_SOURCES}
            ${RELAY_RESOURCE_SOURCE}
    FLAGS -isystem ${FREETYPE_INCLUDE_DIR_ft2build} -isystem ${AGG_INCLUDE_DIRS} ${GIO_CFLAGS}
          -fsanitize-ignorelist=${PROJECT_SOURCE_DIR}/tests/sanitizers/ignorelist.txt
    LIBS ${AGG_FONT_FREETYPE_LIB} ${AGG_LINK_LIBRARIES} ${TINYXML_LINK_LIBRARIES} ${GIO_LINK_LIBRARIES}
         ${FREETYPE_LIBRARIES} ${PNG_LIBRARIES} ${Fontconfig_LIBRARIES} ${X11_LIBRARIES} ${SQLite3_LIBRARIES}
         -ljsoncpp -lz -ldl -lpthread
    DEPENDS relay_platform
    # The main window's layout is longer than the default; every input is drawn.
    OPTIONS -max_len=8192 -runs=3000)
endif()
