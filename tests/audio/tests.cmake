# The WAV codec tests link libsndfile, the peer whose reading and writing ours
# is compared with, and shell out to sox and ffmpeg.
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
file(GLOB audio_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp ${CMAKE_CURRENT_LIST_DIR}/DecodeEverything.cpp)
relay_add_test(NAME test_audio SOURCES ${audio_test_sources} LIBS PkgConfig::SNDFILE)
target_compile_definitions(test_audio PRIVATE RELAY_WAV_CORPUS="${CMAKE_CURRENT_LIST_DIR}/corpus")
