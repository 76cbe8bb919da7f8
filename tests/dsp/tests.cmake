# The DSP framework's tests, twice: as the plain test_dsp against relay_core, and
# as test_dsp_tsan over the library built with ThreadSanitizer, so that every
# access of the multi-thread tests is checked.
file(GLOB dsp_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_dsp SOURCES ${dsp_test_sources})

if(RELAY_TSAN)
  relay_add_tsan_test(NAME test_dsp_tsan SOURCES ${dsp_test_sources})
endif()
