# The io layer compiled as a user's optimised builds compile it (Release and
# MinSizeRel flags), with warnings as errors, by this build's compiler and by
# clang: the optimiser's own warnings, such as GCC's -Wrestrict and
# -Wstringop-overflow, appear only there, and a newer or older compiler must
# not find new ones unnoticed.
# Not in a sanitizer build: it runs no program of ours, and the plain build
# runs it already.
if(RELAY_SANITIZE)
  return()
endif()
string(TOLOWER ${CMAKE_CXX_COMPILER_ID} build_compiler)
set(warning_compilers "${build_compiler}=${CMAKE_CXX_COMPILER}")
find_program(RELAY_WARNINGS_CLANGXX NAMES clang++ clang++-14)
if(RELAY_WARNINGS_CLANGXX AND NOT build_compiler STREQUAL "clang")
  list(APPEND warning_compilers "clang=${RELAY_WARNINGS_CLANGXX}")
endif()
find_path(RELAY_WARNINGS_JSONCPP_INCLUDE json/json.h PATH_SUFFIXES jsoncpp)
foreach(entry IN LISTS warning_compilers)
  string(REPLACE "=" ";" entry ${entry})
  list(GET entry 0 compiler_name)
  list(GET entry 1 compiler)
  foreach(type Release MinSizeRel)
    string(TOUPPER ${type} upper)
    add_test(NAME warnings_${compiler_name}_${type}
      COMMAND ${CMAKE_COMMAND} -DCOMPILER=${compiler} "-DFLAGS=${CMAKE_CXX_FLAGS_${upper}}"
              -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DJSONCPP_INCLUDE=${RELAY_WARNINGS_JSONCPP_INCLUDE}
              "-DSOURCES=${RELAY_io_SOURCES}" -P ${CMAKE_CURRENT_LIST_DIR}/compile_warning_free.cmake)
    set_tests_properties(warnings_${compiler_name}_${type} PROPERTIES TIMEOUT 600)
  endforeach()
endforeach()
