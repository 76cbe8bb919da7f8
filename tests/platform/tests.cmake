# test_platform: the operating-system seam. The clipboard's tests read the
# selection with independent X clients (xclip, and GTK's clipboard through clipboard-reader)
# on an X server of their own; they run as test_platform_display.
file(GLOB platform_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_platform SOURCES ${platform_tests} DISPLAY_TESTS "X11ClipboardTest.*" PRIVATE_DISPLAY)
add_executable(clipboard-reader ${CMAKE_CURRENT_LIST_DIR}/reader/ClipboardReader.cpp)
target_link_libraries(clipboard-reader PRIVATE ${CMAKE_DL_LIBS})
target_compile_options(clipboard-reader PRIVATE ${RELAY_WARNINGS})
add_dependencies(test_platform clipboard-reader)
target_compile_definitions(test_platform PRIVATE RELAY_CLIPBOARD_READER="$<TARGET_FILE:clipboard-reader>")
