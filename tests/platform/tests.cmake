# test_platform: the operating-system seam. The message box dialog's tests open
# windows on the X display; they run as test_platform_display, which skips
# without DISPLAY (and fails instead under RELAY_REQUIRE_DISPLAY=1).
file(GLOB platform_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_platform SOURCES ${platform_tests} DISPLAY_TESTS "X11MessageBoxTest.*")
