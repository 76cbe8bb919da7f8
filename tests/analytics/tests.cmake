# Usage analytics against a real local HTTP server (tests/support's Python
# server), down to the hits' exact bodies; the instance-level test drives the
# product's own plug-in instance through the core's test wrapper.
file(GLOB analytics_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_analytics SOURCES ${analytics_tests} ${PROJECT_SOURCE_DIR}/tests/core/TestWrapper.cpp)
