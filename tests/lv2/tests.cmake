# The LV2 plug-in as hosts see it: the bundle installed into a private folder
# by `cmake --install`, then lilv's tools, sord_validate, lv2file and lv2apply
# on it, the tests' own in-process host, and the UI on the X display. Capture
# passes tell whatever editor listens on the fixed ports: the editor_ports lock.
if(NOT TARGET tw6relay_lv2)
  return()
endif()
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(LV2 REQUIRED IMPORTED_TARGET lv2)
file(GLOB lv2_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_lv2 SOURCES ${lv2_tests} ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
  LIBS PkgConfig::SNDFILE PkgConfig::LV2 X11::X11 ZLIB::ZLIB ${CMAKE_DL_LIBS}
  LOCK editor_ports
  DISPLAY_TESTS "PluginUi.*:JalvHost.*")
target_compile_definitions(test_lv2 PRIVATE RELAY_CMAKE_COMMAND="${CMAKE_COMMAND}")
add_dependencies(test_lv2 tw6relay_lv2 tw6relay_lv2_ui)
