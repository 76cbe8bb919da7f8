# IPC link tests. Unit tests bind ephemeral loopback ports and run in parallel;
# the one test on the editor's fixed ports holds the editor_ports lock.
set(ipc_test_dir ${CMAKE_CURRENT_LIST_DIR})
relay_add_test(NAME test_ipc
  SOURCES ${ipc_test_dir}/MessageCodecTest.cpp ${ipc_test_dir}/ClientTest.cpp ${ipc_test_dir}/EditorPeer.cpp)
