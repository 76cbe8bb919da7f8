# End-to-end: relay-host and editor-standin as real processes on the editor's
# fixed ports (hence the editor_ports lock).
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
relay_add_test(NAME test_e2e
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RoundTripTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RelayHostRoundTripTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
  LIBS PkgConfig::SNDFILE
  LOCK editor_ports)
target_include_directories(test_e2e PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(test_e2e PRIVATE RELAY_HOST_PATH="$<TARGET_FILE:relay-host>")
add_dependencies(test_e2e relay-host)

# The main window's round trip through the loaded library. The library tells
# the host by this program's name, so ctest runs it once per host under a link
# named for that host, each time with that host's tests.
add_executable(test_window_roundtrip ${CMAKE_CURRENT_LIST_DIR}/WindowRoundTripTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../entry/LoadedPlugin.cpp ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp)
target_link_libraries(test_window_roundtrip PRIVATE relay_test_support PkgConfig::SNDFILE ${CMAKE_DL_LIBS})
target_compile_options(test_window_roundtrip PRIVATE ${RELAY_WARNINGS})
foreach(host protools:ProToolsWindowRoundTrip mediacomposer:MediaComposerWindowRoundTrip)
  string(REPLACE ":" ";" host ${host})
  list(GET host 0 program)
  list(GET host 1 suite)
  set(link ${CMAKE_CURRENT_BINARY_DIR}/${program}-window-roundtrip)
  add_custom_command(TARGET test_window_roundtrip POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:test_window_roundtrip> ${link})
  add_test(NAME test_window_roundtrip_${program} COMMAND ${link} --gtest_filter=${suite}.*)
  set_tests_properties(test_window_roundtrip_${program} PROPERTIES TIMEOUT 600 RESOURCE_LOCK editor_ports
    SKIP_RETURN_CODE ${RELAY_TEST_SKIPPED_EXIT_CODE})
endforeach()

