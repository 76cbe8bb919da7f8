# The LV2 plug-in as hosts see it: the bundle installed into a private folder
# by `cmake --install`, then lilv's tools, sord_validate, lv2file and lv2apply
# on it, the tests' own in-process host, and the UI on the X display. Capture
# passes tell whatever editor listens on the fixed ports: the editor_ports lock.
# Ardour's test is a program of its own (below).
if(NOT TARGET tw6relay_lv2)
  return()
endif()
pkg_check_modules(LV2 REQUIRED IMPORTED_TARGET lv2)
file(GLOB lv2_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER lv2_tests EXCLUDE REGEX "/ArdourTest\\.cpp$")
# A sanitizer build's plug-in runs in a foreign host only with AddressSanitizer's
# run-time library preloaded, and with it preloaded every program that calls
# glibc's textdomain or bindtextdomain (jalv's GTK, Ardour, even pgrep) hangs in
# that call on glibc's locale lock, before any plug-in is loaded: there the
# jalv and Ardour tests are left to the plain build.
if(RELAY_SANITIZE MATCHES "address")
  list(FILTER lv2_tests EXCLUDE REGEX "/JalvTest\\.cpp$")
  set(relay_lv2_display_tests "PluginUi.*")
else()
  set(relay_lv2_display_tests "PluginUi.*:JalvHost.*")
endif()
relay_add_test(NAME test_lv2 SOURCES ${lv2_tests} ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
  LIBS PkgConfig::LV2 X11::X11 ZLIB::ZLIB ${CMAKE_DL_LIBS}
  LOCK editor_ports
  DISPLAY_TESTS "${relay_lv2_display_tests}")
target_compile_definitions(test_lv2 PRIVATE RELAY_CMAKE_COMMAND="${CMAKE_COMMAND}")
add_dependencies(test_lv2 tw6relay_lv2 tw6relay_lv2_ui)

# A sanitizer build's plug-in needs AddressSanitizer's run-time library first
# in the foreign hosts: the tests preload it into the programs they start.
if(RELAY_SANITIZE MATCHES "address" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libasan.so
    OUTPUT_VARIABLE relay_asan_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${relay_asan_runtime}" OR NOT EXISTS "${relay_asan_runtime}")
    message(FATAL_ERROR "the compiler names no AddressSanitizer run-time library (${relay_asan_runtime})")
  endif()
  target_compile_definitions(test_lv2 PRIVATE RELAY_ASAN_RUNTIME="${relay_asan_runtime}")
endif()
if(RELAY_SANITIZE MATCHES "address")
  return()
endif()

# Ardour 7 headless (ardour7-lua, ardour7-export) as a program of its own: it
# skips where Ardour is not installed (fails under RELAY_REQUIRE_ARDOUR=1),
# without hiding the other LV2 tests' results. Its capture tells the editor.
relay_add_test(NAME test_lv2_ardour
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ArdourTest.cpp ${CMAKE_CURRENT_LIST_DIR}/InstalledBundle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Lv2Host.cpp ${CMAKE_CURRENT_LIST_DIR}/Noise.cpp
  LIBS PkgConfig::LV2 ZLIB::ZLIB ${CMAKE_DL_LIBS}
  LOCK editor_ports)
target_compile_definitions(test_lv2_ardour PRIVATE RELAY_CMAKE_COMMAND="${CMAKE_COMMAND}")
add_dependencies(test_lv2_ardour tw6relay_lv2 tw6relay_lv2_ui)
