# IPC link tests. Unit tests bind ephemeral loopback ports and run in parallel;
# the one test on the editor's fixed ports holds the editor_ports lock.
set(ipc_test_dir ${CMAKE_CURRENT_LIST_DIR})
relay_add_test(NAME test_ipc
  SOURCES ${ipc_test_dir}/MessageCodecTest.cpp ${ipc_test_dir}/ClientTest.cpp
          ${ipc_test_dir}/StandinInteropTest.cpp
          ${ipc_test_dir}/EditorPeer.cpp ${ipc_test_dir}/StandinProcess.cpp)
relay_add_test(NAME test_ipc_editor_ports
  SOURCES ${ipc_test_dir}/EditorPortsTest.cpp ${ipc_test_dir}/EditorPeer.cpp ${ipc_test_dir}/StandinProcess.cpp
  LOCK editor_ports)

# The editor's messages as the link's poll takes them, through real sockets.
if(RELAY_FUZZ)
  set(src ${PROJECT_SOURCE_DIR})
  relay_add_fuzzer(NAME editor_message_fuzzer TARGET ${ipc_test_dir}/EditorMessageFuzzer.cpp
    CORPUS ${ipc_test_dir}/corpus/editor-message
    SOURCES ${RELAY_ipc_SOURCES} ${src}/util/Log.cpp ${src}/util/Text.cpp ${src}/util/ExceptionBase.cpp
            ${src}/platform/CriticalSection.cpp ${src}/platform/posix/SystemClock.cpp
            ${src}/platform/posix/ThreadId.cpp
    LIBS -lzmq)
endif()
