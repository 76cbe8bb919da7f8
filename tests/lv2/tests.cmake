# The LV2 plug-in as hosts see it: the bundle installed into a private folder
# by `cmake --install`, then lilv's tools, sord_validate, lv2file and lv2apply
# on it, the tests' own in-process host, and the UI on the X display. Capture
# passes tell whatever editor listens on the fixed ports: the editor_ports lock.
# Ardour's test is a program of its own (below).
if(NOT TARGET tw6relay_lv2)
  return()
endif()
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(LV2 REQUIRED IMPORTED_TARGET lv2)
file(GLOB lv2_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER lv2_tests EXCLUDE REGEX "/ArdourTest\\.cpp$")
relay_add_test(NAME test_lv2 SOURCES ${lv2_tests} ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
  LIBS PkgConfig::SNDFILE PkgConfig::LV2 X11::X11 ZLIB::ZLIB ${CMAKE_DL_LIBS}
  LOCK editor_ports
  DISPLAY_TESTS "PluginUi.*:JalvHost.*")
target_compile_definitions(test_lv2 PRIVATE RELAY_CMAKE_COMMAND="${CMAKE_COMMAND}")
add_dependencies(test_lv2 tw6relay_lv2 tw6relay_lv2_ui)

# Ardour 7 headless (ardour7-lua, ardour7-export) as a program of its own: it
# skips where Ardour is not installed (fails under RELAY_REQUIRE_ARDOUR=1),
# without hiding the other LV2 tests' results. Its capture tells the editor.
relay_add_test(NAME test_lv2_ardour
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ArdourTest.cpp ${CMAKE_CURRENT_LIST_DIR}/InstalledBundle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Lv2Host.cpp ${CMAKE_CURRENT_LIST_DIR}/Sound.cpp
  LIBS PkgConfig::SNDFILE PkgConfig::LV2 ZLIB::ZLIB ${CMAKE_DL_LIBS}
  LOCK editor_ports)
target_compile_definitions(test_lv2_ardour PRIVATE RELAY_CMAKE_COMMAND="${CMAKE_COMMAND}")
add_dependencies(test_lv2_ardour tw6relay_lv2 tw6relay_lv2_ui)
