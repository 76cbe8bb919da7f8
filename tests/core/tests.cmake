# The core's unit tests: every *.cpp here but the fuzz targets.
file(GLOB core_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER core_test_sources EXCLUDE REGEX "Fuzzer\\.cpp$")
relay_add_test(NAME test_core SOURCES ${core_test_sources})

# Fuzz targets of the two readers of bytes from outside: the state chunk the
# host hands back, and the history file. They need clang's libFuzzer, so each is
# built apart from the rest (which gcc builds) from the sources its reader uses,
# and run for a while over its seed corpus. New inputs land in the build folder.
find_program(RELAY_CLANGXX NAMES clang++ clang++-14)
if(RELAY_FUZZ)
  find_path(RELAY_JSONCPP_INCLUDE json/json.h PATH_SUFFIXES jsoncpp REQUIRED)
  set(core_fuzz_flags -std=c++20 -g -O1 -Wall -Wextra ${RELAY_WERROR_FLAG}
      -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
      -DBOOST_SIGNALS2_NO_DEPRECATION_WARNING -I${PROJECT_SOURCE_DIR} -I${CMAKE_CURRENT_LIST_DIR})
  list(APPEND core_fuzz_flags -isystem ${RELAY_JSONCPP_INCLUDE})
  file(GLOB core_fuzz_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/core/*.h ${PROJECT_SOURCE_DIR}/param/*.h ${PROJECT_SOURCE_DIR}/dsp/*.h ${PROJECT_SOURCE_DIR}/io/*.h ${PROJECT_SOURCE_DIR}/product/*.h
    ${PROJECT_SOURCE_DIR}/util/*.h ${PROJECT_SOURCE_DIR}/platform/*.h ${CMAKE_CURRENT_LIST_DIR}/*.h)

  # relay_core_fuzzer(NAME name CORPUS folder SOURCES ... [LIBS ...])
  function(relay_core_fuzzer)
    cmake_parse_arguments(F "" "NAME;CORPUS" "SOURCES;LIBS" ${ARGN})
    set(sources)
    foreach(source IN LISTS F_SOURCES)
      list(APPEND sources ${PROJECT_SOURCE_DIR}/${source})
    endforeach()
    # In fuzz/: a file of the target's own name would clash with its rules under Ninja.
    set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/fuzz/${F_NAME})
    add_custom_command(OUTPUT ${fuzzer}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/fuzz
      COMMAND ${RELAY_CLANGXX} ${core_fuzz_flags} ${sources} ${F_LIBS} -o ${fuzzer}
      DEPENDS ${sources} ${core_fuzz_headers}
      COMMENT "Building the fuzz target ${F_NAME} with clang and libFuzzer")
    add_custom_target(${F_NAME} ALL DEPENDS ${fuzzer})
    string(REPLACE "_fuzzer" "" short ${F_NAME})
    add_test(NAME fuzz_${short}
      COMMAND sh -c "mkdir -p ${F_NAME}-found && exec '${fuzzer}' ${F_NAME}-found '${CMAKE_CURRENT_LIST_DIR}/corpus/${F_CORPUS}' -runs=30000 -max_len=4096 -malloc_limit_mb=128 -rss_limit_mb=2048 -timeout=10"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(fuzz_${short} PROPERTIES TIMEOUT 600)
  endfunction()

  relay_core_fuzzer(NAME state_chunk_fuzzer CORPUS state-chunk LIBS -lz -ljsoncpp SOURCES
    tests/core/StateChunkFuzzer.cpp core/PluginState.cpp core/ElementSetState.cpp product/PluginContext.cpp
    core/StateChunk.cpp param/ControllerSet.cpp param/KeyValueCoding.cpp
    util/TypedValue.cpp util/TypedDictionaryJson.cpp util/Base64.cpp util/Text.cpp util/Log.cpp
    util/PoolAllocator.cpp util/AllocationStatistics.cpp dsp/DSPSet.cpp dsp/DSPSetImpl.cpp dsp/ElementImpl.cpp dsp/ElementDispatcher.cpp
    dsp/ElementDispatcherControllerSet.cpp dsp/ElementHost.cpp dsp/ParamDeclaration.cpp dsp/Global.cpp
    dsp/ShuttleElement.cpp dsp/ChannelFormat.cpp dsp/FFTPool.cpp dsp/FFT.cpp dsp/RegionRecord.cpp
    dsp/BypassCrossfader.cpp dsp/DelayLine.cpp
    platform/CriticalSection.cpp platform/posix/SystemClock.cpp platform/posix/ThreadId.cpp)

  relay_core_fuzzer(NAME history_file_fuzzer CORPUS history SOURCES
    tests/core/HistoryFileFuzzer.cpp core/HistoryFile.cpp core/History.cpp core/InvalidHistoryFile.cpp
    core/PluginDefinition.cpp core/HostVersion.cpp core/HostContext.cpp core/HostIdentification.cpp
    io/ByteStream.cpp io/DataStreamIO.cpp util/ExceptionBase.cpp util/BasicErrorBase.cpp util/Text.cpp
    util/Log.cpp io/File.cpp io/FileStream.cpp
    platform/posix/ProcessInfo.cpp platform/posix/Folders.cpp platform/posix/FileIO.cpp)
endif()
