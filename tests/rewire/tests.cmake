# The ReWire device. The outside engine library is played by a test engine
# (engine/TestEngine.cpp), built in the variants the open rules tell apart and
# copied by the tests into a private common program files folder. The device is
# reached through the built plug-in library, as a mixer reaches it (dlopen and
# dlsym of the RWDEF names), and, for the rules that need a fake clock or a
# held lock, through its classes directly.
function(relay_rewire_test_engine NAME)
  add_library(${NAME} SHARED ${CMAKE_CURRENT_LIST_DIR}/engine/TestEngine.cpp)
  target_include_directories(${NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
  target_compile_options(${NAME} PRIVATE ${RELAY_WARNINGS})
  target_compile_definitions(${NAME} PRIVATE ${ARGN})
  set_target_properties(${NAME} PROPERTIES PREFIX "")
endfunction()
relay_rewire_test_engine(rewire_test_engine)
relay_rewire_test_engine(rewire_test_engine_old "TEST_ENGINE_VERSION=1,7")
relay_rewire_test_engine(rewire_test_engine_next_major "TEST_ENGINE_VERSION=2,9")
relay_rewire_test_engine(rewire_test_engine_unversioned TEST_ENGINE_WITHOUT_VERSION)
relay_rewire_test_engine(rewire_test_engine_incomplete TEST_ENGINE_WITHOUT_READ)

file(GLOB rewire_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_rewire SOURCES ${rewire_tests} LIBS ${CMAKE_DL_LIBS})
target_include_directories(test_rewire PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(test_rewire PRIVATE
  RELAY_TEST_ENGINE="$<TARGET_FILE:rewire_test_engine>"
  RELAY_TEST_ENGINE_OLD="$<TARGET_FILE:rewire_test_engine_old>"
  RELAY_TEST_ENGINE_NEXT_MAJOR="$<TARGET_FILE:rewire_test_engine_next_major>"
  RELAY_TEST_ENGINE_UNVERSIONED="$<TARGET_FILE:rewire_test_engine_unversioned>"
  RELAY_TEST_ENGINE_INCOMPLETE="$<TARGET_FILE:rewire_test_engine_incomplete>")
add_dependencies(test_rewire rewire_test_engine rewire_test_engine_old rewire_test_engine_next_major
  rewire_test_engine_unversioned rewire_test_engine_incomplete)
