# The editor stand-in's own tests (Python unittest, Debian's interpreter).
add_test(NAME test_editor_standin
  COMMAND /usr/bin/python3 -m unittest -v test_editor_standin
  WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(test_editor_standin PROPERTIES TIMEOUT 300
  ENVIRONMENT "PYTHONDONTWRITEBYTECODE=1")
