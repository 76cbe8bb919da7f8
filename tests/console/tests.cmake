# test_console: the console commands on a real instance (the product's element
# set with a test element of every parameter kind). The tests that read the
# clipboard with independent X clients (xclip, and GTK's through clipboard-reader) or
# open windows run as test_console_display, on an X server of their own.
file(GLOB console_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_console
  SOURCES ${console_tests} ${CMAKE_CURRENT_LIST_DIR}/../core/TestElements.cpp ${CMAKE_CURRENT_LIST_DIR}/../core/TestWrapper.cpp
  DISPLAY_TESTS "ConsoleClipboardPeer.*:ConsolePromptOnScreen.*" PRIVATE_DISPLAY)
add_dependencies(test_console clipboard-reader)
target_compile_definitions(test_console PRIVATE RELAY_CLIPBOARD_READER="$<TARGET_FILE:clipboard-reader>")
target_compile_definitions(test_console PRIVATE RELAY_RESOURCE_TABLE_PATH="${CMAKE_BINARY_DIR}/resources/QxResEmbed.bin")
