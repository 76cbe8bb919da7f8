# cmake -DCOMPILER=c++ -DFLAGS="-O3 ..." -DSOURCE_DIR=... -DJSONCPP_INCLUDE=... -DSOURCES="a.cpp;b.cpp"
#       -P compile_warning_free.cmake
# Compiles each source (to no file) with the project's warnings as errors and
# fails with the compiler's messages at the first that does not compile clean.
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
foreach(source IN LISTS SOURCES)
  execute_process(
    COMMAND ${COMPILER} -std=c++20 ${flags} -Wall -Wextra -Werror -DBOOST_SIGNALS2_NO_DEPRECATION_WARNING
            -I${SOURCE_DIR} -isystem ${JSONCPP_INCLUDE} -c ${source} -o /dev/null
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${COMPILER} ${FLAGS} does not compile ${source} clean:\n${output}")
  endif()
  message(STATUS "${source}: clean")
endforeach()
