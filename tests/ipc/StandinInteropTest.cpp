// The client against the independent Python implementation of the editor's
// side, as real processes over loopback.
#include <gtest/gtest.h>

#include "EditorPeer.h"
#include "StandinProcess.h"
#include "ipc/Client.h"
#include "support/FakeClock.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "io/ConfigFile.h"

#include <cmath>

using namespace TestSupport;
using IPC::Client;

namespace {

void writeFloatWav(const std::string& path, int channels, int rate, int frames)
{
    std::vector<float> samples(size_t(channels) * frames);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(std::sin(0.01 * double(i)) * 0.9);
    EXPECT_TRUE(SoundFile::writeInterleaved(path, channels, samples, {.sampleRate = rate}));
}

} // namespace

TEST(ClientWithStandin, MessagesCrossInBothDirectionsWithTheDocumentedBytes)
{
    StandinProcess standin({"--folder", makeTempFolder("shuttle")});
    Client client(IPC::Context::create(), standin.endpoints());
    ClientEvents seen(client);

    ASSERT_TRUE(waitFor([&] { return client.sendRequest(1); }));
    EXPECT_NE(standin.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01 -- enum 1"), "");
    EXPECT_NE(standin.expect("SENT reply frames=2 IPC_SimpleReply | 91 c3"), "");
    EXPECT_TRUE(waitFor([&] { client.poll(); return seen.replies == 1; }));
    EXPECT_FALSE(client.requestOutstanding());

    ASSERT_TRUE(waitFor([&] { return client.sendWithoutReply(2); }));
    EXPECT_NE(standin.expect("RECV push frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 02 -- enum 2"), "");
    EXPECT_TRUE(client.sendWithoutReply(5));
    EXPECT_NE(standin.expect("RECV push frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 05 -- enum 5"), "");

    const std::pair<const char*, const char*> commands[] = {
        {"discard", "enum 3"}, {"clear", "enum 0"}, {"count 16", "uint 0 16"}, {"enum 4", "enum 4"}};
    for (const auto& [command, event] : commands) {
        standin.command(command);
        ASSERT_TRUE(waitFor([&] { client.poll(); return seen.events.size() == 1; })) << command;
        EXPECT_EQ(seen.events.front(), event);
        EXPECT_NE(standin.expect("RECV editor-reply frames=2 IPC_SimpleReply | 91 c3"), "") << command;
        seen.events.clear();
    }
}

TEST(ClientWithStandin, PollingHostsFindTheirRequestThroughTheConfigurationStore)
{
    const std::string folder = makeTempFolder("shuttle");
    writeFloatWav(folder + "/Media Composer 1 [tw-relay] 1 captured.wav", 1, 44100, 100);
    writeFloatWav(folder + "/Sequoia 3 [tw-relay] 3 captured.wav", 2, 96000, 100);
    Util::ConfigFile editorSettings("SOFTWARE\\Quillex\\TW6");
    editorSettings.SetBool("SentBackToHost.Sequoia", false);

    StandinProcess standin({"--folder", folder});
    Client client(IPC::Context::create(), standin.endpoints());
    ClientEvents seen(client);
    ASSERT_TRUE(waitFor([&] { return client.sendRequest(1); }));
    EXPECT_NE(standin.expect("NOTIFIED store SOFTWARE\\Quillex\\TW6\\SentBackToHost.Sequoia = 1"), "");
    EXPECT_TRUE(editorSettings.GetBool("SentBackToHost.Media Composer", false));
    EXPECT_TRUE(editorSettings.GetBool("SentBackToHost.Sequoia", false));
    EXPECT_EQ(editorSettings.GetUInt("SentBackToHost.Sequoia", 7), 1u);
    // A message 4 would stand in the stand-in's queue before this discard.
    standin.command("discard");
    ASSERT_TRUE(waitFor([&] { client.poll(); return !seen.events.empty(); }));
    EXPECT_EQ(seen.events, std::vector<std::string>{"enum 3"}) << "a polling host is not sent message 4";
}

TEST(ClientWithStandin, AStandinThatNeverAnswersCostsOneRequestAndFreshSocketsAfter10000ms)
{
    Platform::FakeClock clock;
    StandinProcess standin({"--never-answer", "--folder", makeTempFolder("shuttle")});
    Client client(IPC::Context::create(), standin.endpoints());
    ASSERT_TRUE(waitFor([&] { return client.sendRequest(1); }));
    EXPECT_NE(standin.expect("RECV request frames=2 IPC_EnumMessage"), "");

    clock.advance(9999);
    client.poll();
    EXPECT_FALSE(client.sendRequest(1));
    clock.advance(2);
    client.poll();
    EXPECT_FALSE(client.requestOutstanding());
    ASSERT_TRUE(waitFor([&] { return client.sendRequest(3); }));
    EXPECT_NE(standin.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 03"), "");
}

TEST(ClientWithStandin, OnceTheStandinIsGoneEverySendAnswersFalse)
{
    StandinProcess standin({"--folder", makeTempFolder("shuttle")});
    Client client(IPC::Context::create(), standin.endpoints());
    ASSERT_TRUE(waitFor([&] { return client.sendWithoutReply(5); }));
    standin.stop();
    ASSERT_TRUE(waitFor([&] { return !client.sendWithoutReply(5); }));
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(client.sendWithoutReply(5));
        EXPECT_FALSE(client.sendRequest(1));
    }
    client.poll();
    EXPECT_FALSE(client.requestOutstanding());
}
