# Shuttle tests read the clip files back with libsndfile, the independent peer,
# and stand in for the editor with the stand-in process or a raw peer.
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
file(GLOB shuttle_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
relay_add_test(NAME test_shuttle
  SOURCES ${shuttle_tests} ${CMAKE_CURRENT_LIST_DIR}/../ipc/StandinProcess.cpp ${CMAKE_CURRENT_LIST_DIR}/../ipc/EditorPeer.cpp
  LIBS PkgConfig::SNDFILE)
target_include_directories(test_shuttle PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)

# Not in a sanitizer build: ThreadSanitizer does not combine with the others.
if(NOT RELAY_SANITIZE)
# The file handler's tests once more with ThreadSanitizer: the handler, its
# disk thread, the WAV codecs and what they need of util/ and platform/ are
# compiled again with it, so that every hand-over between the audio side and
# the disk thread is checked.
set(src ${PROJECT_SOURCE_DIR})
file(GLOB shuttle_tsan_audio CONFIGURE_DEPENDS ${src}/audio/*.cpp)
add_executable(test_shuttle_tsan
  ${CMAKE_CURRENT_LIST_DIR}/FileHandlerTest.cpp ${CMAKE_CURRENT_LIST_DIR}/SlowDiskTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditorTasksTest.cpp ${src}/shuttle/EditorTasks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShuttleTestSupport.cpp ${CMAKE_CURRENT_LIST_DIR}/../support/TestMain.cpp
  ${src}/shuttle/FileHandler.cpp ${src}/shuttle/ClipRecorder.cpp ${src}/shuttle/RepairedPlayer.cpp
  ${src}/shuttle/BroadcastExtension.cpp ${src}/shuttle/ClipFileName.cpp ${src}/shuttle/HostSets.cpp
  ${shuttle_tsan_audio}
  ${src}/util/BasicErrorBase.cpp ${src}/util/ExceptionBase.cpp ${src}/util/Log.cpp ${src}/util/Text.cpp
  ${src}/util/Thread.cpp ${src}/util/Utf16.cpp
  ${src}/io/ByteStream.cpp ${src}/io/DataStreamIO.cpp ${src}/io/ConfigFile.cpp ${src}/io/File.cpp
  ${src}/platform/CriticalSection.cpp ${src}/platform/SimpleTimer.cpp ${src}/platform/TimerQueue.cpp
  ${src}/platform/posix/FileIO.cpp ${src}/platform/posix/Folders.cpp ${src}/platform/posix/LocalTime.cpp
  ${src}/platform/posix/SystemClock.cpp ${src}/platform/posix/ThreadId.cpp
  ${src}/platform/posix/SqliteDatabase.cpp ${src}/platform/posix/SqliteSettingsStore.cpp
  ${src}/platform/posix/SqliteStatement.cpp
  ${src}/core/ChannelConfiguration.cpp ${src}/core/HostContext.cpp ${src}/core/HostTable.cpp ${src}/core/HostVersion.cpp
  ${src}/tests/support/FakeClock.cpp)
target_include_directories(test_shuttle_tsan PRIVATE ${src} ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(test_shuttle_tsan PRIVATE RELAY_TSAN BOOST_SIGNALS2_NO_DEPRECATION_WARNING)
target_compile_options(test_shuttle_tsan PRIVATE ${RELAY_WARNINGS} -fsanitize=thread -O1 -g)
target_link_options(test_shuttle_tsan PRIVATE -fsanitize=thread)
target_link_libraries(test_shuttle_tsan PRIVATE GTest::gtest Boost::headers PkgConfig::SNDFILE SQLite::SQLite3
  Threads::Threads)
add_test(NAME test_shuttle_tsan COMMAND test_shuttle_tsan)
target_compile_definitions(test_shuttle_tsan PRIVATE RELAY_TEST_SKIPPED_EXIT_CODE=${RELAY_TEST_SKIPPED_EXIT_CODE})
set_tests_properties(test_shuttle_tsan PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE ${RELAY_TEST_SKIPPED_EXIT_CODE}
  ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1")
endif()
