# The layers' rule: an include never points up (or across a level). Fed by the
# same order that builds the layer libraries.
# Not in a sanitizer build: it runs no program of ours, and the plain build
# runs it already.
if(RELAY_SANITIZE)
  return()
endif()
add_test(NAME layers
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_layers.py ${PROJECT_SOURCE_DIR} ${RELAY_LAYER_ORDER})
add_test(NAME layers_catch_an_upward_include
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/test_check_layers.py)
