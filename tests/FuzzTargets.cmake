# Fuzz targets need clang's libFuzzer while the rest of the tree is built by
# gcc, so their sources are compiled apart with clang: one object per source
# (in parallel, through the build's compiler launcher such as ccache, and again
# when a header it includes changes). Every source but the target's own goes
# into an archive, so only what the target reaches is linked. The program lands
# in fuzz/ of the test folder's build directory (a file of the target's own name
# beside the target's rules would clash with them under Ninja), and ctest runs it
# for a while over its seed corpus; new inputs land in <name>-found there.
find_program(RELAY_CLANGXX NAMES clang++ clang++-14)
find_path(RELAY_JSONCPP_INCLUDE json/json.h PATH_SUFFIXES jsoncpp)
# Not in a sanitizer build: the fuzz targets bring their own sanitizers.
set(RELAY_FUZZ OFF)
if(RELAY_CLANGXX AND NOT RELAY_SANITIZE)
  set(RELAY_FUZZ ON)
endif()
set(RELAY_FUZZ_FLAGS -std=c++20 -g -O1 -Wall -Wextra ${RELAY_WERROR_FLAG}
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -DBOOST_SIGNALS2_NO_DEPRECATION_WARNING -I${PROJECT_SOURCE_DIR} -I${PROJECT_SOURCE_DIR}/tests
    -isystem ${RELAY_JSONCPP_INCLUDE})
set(RELAY_FUZZ_RUN_OPTIONS -runs=30000 -max_len=4096 -malloc_limit_mb=128 -rss_limit_mb=2048 -timeout=10)

# relay_add_fuzzer(NAME name TARGET source CORPUS folder SOURCES ... [FLAGS ...] [LIBS ...]
#                  [DEPENDS targets] [OPTIONS libFuzzer options, after the defaults])
function(relay_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;TARGET;CORPUS" "SOURCES;FLAGS;LIBS;DEPENDS;OPTIONS" ${ARGN})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/fuzz/${F_NAME}.dir)
  set(objects)
  foreach(source IN LISTS F_TARGET F_SOURCES)
    file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${source})
    if(name MATCHES "^\\.\\.")
      file(RELATIVE_PATH name ${PROJECT_BINARY_DIR} ${source})
    endif()
    set(object ${dir}/${name}.o)
    get_filename_component(object_dir ${object} DIRECTORY)
    add_custom_command(OUTPUT ${object}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${object_dir}
      COMMAND ${CMAKE_CXX_COMPILER_LAUNCHER} ${RELAY_CLANGXX} ${RELAY_FUZZ_FLAGS} ${F_FLAGS}
              -MD -MT ${object} -MF ${object}.d -c ${source} -o ${object}
      DEPENDS ${source} DEPFILE ${object}.d
      COMMENT "Compiling ${name} with clang for ${F_NAME}" VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  list(POP_FRONT objects target_object)
  set(archive ${dir}/lib${F_NAME}.a)
  add_custom_command(OUTPUT ${archive}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${archive}
    COMMAND ${CMAKE_AR} qcs ${archive} ${objects}
    DEPENDS ${objects} VERBATIM)
  set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/fuzz/${F_NAME})
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${RELAY_CLANGXX} -fsanitize=fuzzer,address,undefined ${target_object} ${archive} ${F_LIBS} -o ${fuzzer}
    DEPENDS ${target_object} ${archive}
    COMMENT "Linking the fuzz target ${F_NAME}" VERBATIM)
  add_custom_target(${F_NAME} ALL DEPENDS ${fuzzer})
  if(F_DEPENDS)
    add_dependencies(${F_NAME} ${F_DEPENDS})
  endif()
  string(REPLACE "_fuzzer" "" short ${F_NAME})
  list(JOIN RELAY_FUZZ_RUN_OPTIONS " " options)
  list(JOIN F_OPTIONS " " extra)
  add_test(NAME fuzz_${short}
    COMMAND sh -c "mkdir -p ${F_NAME}-found && exec '${fuzzer}' ${F_NAME}-found '${F_CORPUS}' ${options} ${extra}"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(fuzz_${short} PROPERTIES TIMEOUT 600)
endfunction()
