# The WAV codec tests compare ours with libsndfile's reading and writing (the
# test support's SoundFile), and shell out to sox and ffmpeg.
file(GLOB audio_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp ${CMAKE_CURRENT_LIST_DIR}/DecodeEverything.cpp)
relay_add_test(NAME test_audio SOURCES ${audio_test_sources})
target_compile_definitions(test_audio PRIVATE RELAY_WAV_CORPUS="${CMAKE_CURRENT_LIST_DIR}/corpus")

# The decoder's fuzz target needs clang's libFuzzer, so it is built apart from
# the rest (which gcc builds) from the few sources the decoder uses, and run
# for a while over the corpus. New inputs it finds land in the build folder.
find_program(RELAY_CLANGXX NAMES clang++ clang++-14)
if(RELAY_FUZZ)
  set(fuzz_sources
    ${PROJECT_SOURCE_DIR}/audio/WavDecoder.cpp ${PROJECT_SOURCE_DIR}/audio/BadFormatError.cpp
    ${PROJECT_SOURCE_DIR}/audio/SampleCodec.cpp ${PROJECT_SOURCE_DIR}/io/File.cpp
    ${PROJECT_SOURCE_DIR}/util/BasicErrorBase.cpp ${PROJECT_SOURCE_DIR}/util/Text.cpp
    ${PROJECT_SOURCE_DIR}/platform/posix/FileIO.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DecodeEverything.cpp ${CMAKE_CURRENT_LIST_DIR}/WavDecoderFuzzer.cpp)
  file(GLOB fuzz_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/audio/*.h ${PROJECT_SOURCE_DIR}/util/*.h ${PROJECT_SOURCE_DIR}/io/*.h
    ${PROJECT_SOURCE_DIR}/platform/*.h ${CMAKE_CURRENT_LIST_DIR}/*.h)
  # The program lands in fuzz/: a file of the target's own name beside the
  # target's rules would clash with them (Ninja refuses two rules for one path).
  set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/fuzz/wav_decoder_fuzzer)
  add_custom_command(OUTPUT ${fuzzer}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/fuzz
    COMMAND ${RELAY_CLANGXX} -std=c++20 -g -O1 -Wall -Wextra ${RELAY_WERROR_FLAG}
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
            -I${PROJECT_SOURCE_DIR} -I${CMAKE_CURRENT_LIST_DIR} ${fuzz_sources} -o ${fuzzer}
    DEPENDS ${fuzz_sources} ${fuzz_headers}
    COMMENT "Building the WAV decoder fuzz target with clang and libFuzzer")
  add_custom_target(wav_decoder_fuzzer ALL DEPENDS ${fuzzer})
  add_test(NAME fuzz_wav_decoder
    COMMAND sh -c "mkdir -p fuzz-found && exec '${fuzzer}' fuzz-found '${CMAKE_CURRENT_LIST_DIR}/corpus' -runs=30000 -max_len=4096 -malloc_limit_mb=128 -rss_limit_mb=2048 -timeout=10"
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(fuzz_wav_decoder PROPERTIES TIMEOUT 600)
endif()
