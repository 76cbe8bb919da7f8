# End-to-end: relay-host and editor-standin as real processes on the editor's
# fixed ports (hence the editor_ports lock).
relay_add_test(NAME test_e2e
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/RoundTripTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RelayHostRoundTripTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp
  LOCK editor_ports)
target_include_directories(test_e2e PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(test_e2e PRIVATE RELAY_HOST_PATH="$<TARGET_FILE:relay-host>")
add_dependencies(test_e2e relay-host)

# The main window's round trip through the loaded library. The library tells
# the host by this program's name, so ctest runs it once per host under a link
# named for that host, each time with that host's tests.
add_executable(test_window_roundtrip ${CMAKE_CURRENT_LIST_DIR}/WindowRoundTripTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../entry/LoadedPlugin.cpp ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp)
target_link_libraries(test_window_roundtrip PRIVATE relay_test_support ${CMAKE_DL_LIBS})
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

# relay-host over the whole library once more with ThreadSanitizer (its layers
# from relay_tsan, the entry and the wrapper compiled again with it), for the
# sixteen instances that capture at once on their render threads. What the
# system's libraries read and write is not checked (ignore_noninstrumented_modules),
# and relay-host.tsan.supp says why libzmq's hand-overs are left out.
if(RELAY_TSAN)
add_library(vo6relay_tsan SHARED ${RELAY_EXPORT_SOURCES})
target_compile_options(vo6relay_tsan PRIVATE ${RELAY_TSAN_FLAGS})
target_link_options(vo6relay_tsan PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/entry/exports.map)
target_link_libraries(vo6relay_tsan PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,relay_tsan>")
file(GLOB relay_host_tsan_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/relay-host/*.cpp
  ${PROJECT_SOURCE_DIR}/wrapper/*.cpp)
add_executable(relay-host-tsan ${relay_host_tsan_sources})
target_include_directories(relay-host-tsan PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tools/relay-host)
target_compile_options(relay-host-tsan PRIVATE ${RELAY_TSAN_FLAGS})
target_link_options(relay-host-tsan PRIVATE -fsanitize=thread)
target_compile_definitions(relay-host-tsan PRIVATE RELAY_DEFAULT_PLUGIN="$<TARGET_FILE:vo6relay_tsan>"
  RELAY_INSTALL_LIBDIR="${CMAKE_INSTALL_LIBDIR}")
# The platform layer only for the X11 window of --editor-window, which this test does not open.
target_link_libraries(relay-host-tsan PRIVATE relay_platform PkgConfig::SNDFILE Threads::Threads ${CMAKE_DL_LIBS})
add_dependencies(relay-host-tsan vo6relay_tsan)
add_test(NAME test_relay_host_tsan COMMAND test_e2e --gtest_filter=RelayHostRoundTrip.SixteenInstancesCaptureAtOnce)
set_tests_properties(test_relay_host_tsan PROPERTIES TIMEOUT 900 RESOURCE_LOCK editor_ports
  SKIP_RETURN_CODE ${RELAY_TEST_SKIPPED_EXIT_CODE}
  ENVIRONMENT "RELAY_HOST=$<TARGET_FILE:relay-host-tsan>;TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 suppressions=${CMAKE_CURRENT_LIST_DIR}/relay-host.tsan.supp")
endif()
