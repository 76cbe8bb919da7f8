# End-to-end: relay-host and editor-standin as real processes on the editor's
# fixed ports (hence the editor_ports lock).
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
relay_add_test(NAME test_e2e
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RoundTripTest.cpp ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
  LIBS PkgConfig::SNDFILE
  LOCK editor_ports)
target_include_directories(test_e2e PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(test_e2e PRIVATE RELAY_HOST_PATH="$<TARGET_FILE:relay-host>")
add_dependencies(test_e2e relay-host)
