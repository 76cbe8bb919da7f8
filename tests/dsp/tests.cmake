# The DSP framework's tests, twice: as the plain test_dsp against relay_core, and
# as test_dsp_tsan, where the framework and what it needs of platform/ and util/
# are compiled again with ThreadSanitizer so that every access of the
# multi-thread tests is checked.
file(GLOB dsp_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_dsp SOURCES ${dsp_test_sources})

# Not in a sanitizer build: ThreadSanitizer does not combine with the others.
if(NOT RELAY_SANITIZE)
file(GLOB dsp_tsan_framework CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/dsp/*.cpp)
set(dsp_tsan_support
  ${PROJECT_SOURCE_DIR}/param/ControllerSet.cpp
  ${PROJECT_SOURCE_DIR}/param/KeyValueCoding.cpp
  ${PROJECT_SOURCE_DIR}/util/ExceptionBase.cpp
  ${PROJECT_SOURCE_DIR}/util/Log.cpp
  ${PROJECT_SOURCE_DIR}/util/PoolAllocator.cpp
  ${PROJECT_SOURCE_DIR}/util/AllocationStatistics.cpp
  ${PROJECT_SOURCE_DIR}/util/Text.cpp
  ${PROJECT_SOURCE_DIR}/util/Thread.cpp
  ${PROJECT_SOURCE_DIR}/platform/CriticalSection.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/FakeClock.cpp
  ${PROJECT_SOURCE_DIR}/platform/posix/SystemClock.cpp
  ${PROJECT_SOURCE_DIR}/platform/posix/ThreadId.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/TestMain.cpp)
add_executable(test_dsp_tsan ${dsp_test_sources} ${dsp_tsan_framework} ${dsp_tsan_support})
target_include_directories(test_dsp_tsan PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(test_dsp_tsan PRIVATE RELAY_TSAN BOOST_SIGNALS2_NO_DEPRECATION_WARNING)
target_compile_options(test_dsp_tsan PRIVATE ${RELAY_WARNINGS} -fsanitize=thread -O1 -g)
target_link_options(test_dsp_tsan PRIVATE -fsanitize=thread)
target_link_libraries(test_dsp_tsan PRIVATE GTest::gtest Boost::headers Threads::Threads)
add_test(NAME test_dsp_tsan COMMAND test_dsp_tsan)
target_compile_definitions(test_dsp_tsan PRIVATE RELAY_TEST_SKIPPED_EXIT_CODE=${RELAY_TEST_SKIPPED_EXIT_CODE})
set_tests_properties(test_dsp_tsan PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE ${RELAY_TEST_SKIPPED_EXIT_CODE}
  ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1")
endif()
