# Integration tests: the built plug-in library loaded with dlopen, spoken to only
# through PluginCoreCallback; relay-host run as a real process.
file(GLOB entry_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_entry SOURCES ${entry_tests} LIBS ${CMAKE_DL_LIBS})
target_compile_definitions(test_entry PRIVATE RELAY_HOST_PATH="$<TARGET_FILE:relay-host>")
add_dependencies(test_entry relay-host)
target_link_libraries(test_entry PRIVATE relay_host_options)
