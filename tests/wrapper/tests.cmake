# The wrapper side's library: its records checked byte by byte against this
# folder's own offsets, and its calls against the built plug-in library.
file(GLOB wrapper_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_wrapper SOURCES ${wrapper_tests} LIBS relay_wrapper)
