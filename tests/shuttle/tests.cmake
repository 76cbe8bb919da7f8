# Shuttle tests read the clip files back with libsndfile, the independent peer
# (TestSupport::SoundFile), and stand in for the editor with the stand-in
# process or a raw peer.
file(GLOB shuttle_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_shuttle
  SOURCES ${shuttle_tests} ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp ${CMAKE_CURRENT_LIST_DIR}/../ipc/EditorPeer.cpp)
target_include_directories(test_shuttle PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)

# The file handler's tests once more over the library built with
# ThreadSanitizer, so that every hand-over between the audio side and the disk
# thread is checked.
if(RELAY_TSAN)
  relay_add_tsan_test(NAME test_shuttle_tsan
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/FileHandlerTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SlowDiskTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/EditorTasksTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ShuttleTestSupport.cpp
      ${CMAKE_CURRENT_LIST_DIR}/../support/SoundFile.cpp
    LIBS PkgConfig::SNDFILE)
endif()
