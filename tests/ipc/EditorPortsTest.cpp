// The client's default endpoints are the editor's fixed ports. Binds them, so
// this executable holds the editor_ports lock.
#include <gtest/gtest.h>

#include "EditorPeer.h"
#include "StandinProcess.h"
#include "ipc/Client.h"
#include "support/TestEnvironment.h"

using namespace TestSupport;

TEST(EditorPorts, TheDefaultEndpointsReachAnEditorOnItsOwnPorts)
{
    const IPC::SocketPair::Endpoints defaults;
    EXPECT_EQ(defaults.request, "tcp://127.0.0.1:23032");
    EXPECT_EQ(defaults.reply, "tcp://127.0.0.1:23023");
    EXPECT_EQ(defaults.push, "tcp://127.0.0.1:23123");

    StandinProcess standin({"--folder", makeTempFolder("shuttle")}, /*fixedPorts*/ true);
    EXPECT_EQ(standin.endpoints().request, defaults.request);
    IPC::Client client(IPC::Context::create());
    int replies = 0;
    client.replyReceived.connect([&] { ++replies; });
    ASSERT_TRUE(waitFor([&] { return client.sendRequest(1); }));
    EXPECT_NE(standin.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01"), "");
    EXPECT_TRUE(waitFor([&] { client.poll(); return replies == 1; }));
    EXPECT_TRUE(client.sendWithoutReply(5));
    EXPECT_NE(standin.expect("RECV push frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 05"), "");
    int count = -1;
    client.unsignedMessage.connect([&](int32_t, uint32_t n) { count = int(n); });
    standin.command("count 3");
    EXPECT_TRUE(waitFor([&] { client.poll(); return count == 3; }));
}
