#include <gtest/gtest.h>

#include "EditorPeer.h"
#include "ipc/Client.h"
#include "ipc/Frame.h"
#include "ipc/Context.h"
#include "support/FakeClock.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <atomic>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>
#include <utility>

using namespace TestSupport;
using IPC::Client;

namespace {

const Bytes enumHead{0x93, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30};
const Bytes unsignedHead{0x94, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30};
const Bytes replyTrue{0x91, 0xC3};
const Bytes replyFalse{0x91, 0xC2};

Bytes enumBody(uint8_t value)
{
    Bytes b = enumHead;
    b.push_back(value);
    return b;
}

struct ClientFixture : ::testing::Test {
    EditorPeer editor;
    Client client{IPC::Context::create(), editor.endpoints()};
    ClientEvents recorded{client};

    // Sends a request once the connection to the editor is up.
    void sendRequestWhenConnected(int32_t value)
    {
        ASSERT_TRUE(waitFor([&] { return client.sendRequest(value); }));
    }
};

} // namespace

TEST(ClientWithoutEditor, EverySendAnswersFalseAndPollsFindNothing)
{
    IPC::SocketPair::Endpoints nobody;
    {
        EditorPeer gone; // ports that were free a moment ago and now have no listener
        nobody = gone.endpoints();
    }
    Client client(IPC::Context::create(), nobody);
    ClientEvents recorded(client);
    EXPECT_TRUE(client.socketsReady());
    // The first call on a socket lets libzmq settle the socket's set-up; after
    // that a refused send must not touch the heap (it may come from audio).
    EXPECT_FALSE(client.sendRequest(1));
    EXPECT_FALSE(client.sendWithoutReply(2));
    const auto allocations = threadAllocationCount();
    for (int i = 0; i < 50; ++i) {
        EXPECT_FALSE(client.sendRequest(1));
        EXPECT_FALSE(client.sendWithoutReply(2));
        EXPECT_FALSE(client.requestOutstanding());
    }
    EXPECT_EQ(threadAllocationCount(), allocations) << "a refused send allocated";
    client.poll();
    EXPECT_TRUE(recorded.events.empty());
    EXPECT_EQ(recorded.replies, 0);
}

TEST(ClientWithoutEditor, AnEditorThatStartsLaterIsReachedWithoutReconnecting)
{
    IPC::SocketPair::Endpoints nobody;
    {
        EditorPeer gone;
        nobody = gone.endpoints();
    }
    Client client(IPC::Context::create(), nobody);
    EXPECT_FALSE(client.sendWithoutReply(5));

    auto context = IPC::Context::create();
    IPC::Socket pull(context, ZMQ_PULL);
    pull.setOption(ZMQ_LINGER, 0);
    pull.bind(nobody.push);
    ASSERT_TRUE(waitFor([&] { return client.sendWithoutReply(5); }));
    IPC::Frame frame;
    ASSERT_TRUE(waitFor([&] { return pull.receive(frame); }));
    EXPECT_EQ(frame.text(), "IPC_EnumMessage");
}

TEST(ClientWithBadEndpoint, StaysNotReadyAndRefusesEverything)
{
    Util::Log::Capture log;
    IPC::SocketPair::Endpoints bad;
    bad.reply = "tcp://127.0.0.1"; // no port
    Client client(IPC::Context::create(), bad);
    EXPECT_FALSE(client.socketsReady());
    EXPECT_FALSE(client.sendRequest(1));
    EXPECT_FALSE(client.sendWithoutReply(5));
    client.poll();
    EXPECT_TRUE(log.contains("cannot connect to the editor endpoints"));
}

TEST_F(ClientFixture, ARequestGoesOutAsTwoFramesAndOnlyOneIsOutstanding)
{
    sendRequestWhenConnected(1);
    EXPECT_TRUE(client.requestOutstanding());
    const auto first = editor.nextRequest();
    ASSERT_EQ(first.frames, (Frames{bytes("IPC_EnumMessage"), enumBody(1)}));

    EXPECT_FALSE(client.sendRequest(3)) << "a second request while the first waits";
    EXPECT_TRUE(editor.nextRequest(std::chrono::milliseconds(50)).routingId.empty());

    editor.reply(first.routingId, {bytes("IPC_SimpleReply"), replyTrue});
    ASSERT_TRUE(waitFor([&] { client.poll(); return recorded.replies == 1; }));
    EXPECT_FALSE(client.requestOutstanding());

    EXPECT_TRUE(client.sendRequest(3));
    EXPECT_EQ(editor.nextRequest().frames, (Frames{bytes("IPC_EnumMessage"), enumBody(3)}));
}

TEST_F(ClientFixture, AnyReplyFreesTheRequestSocket)
{
    // The handled value is not used; even a reply the client cannot read, or
    // one with extra frames, frees the socket for the next request.
    const Frames replies[] = {
        {bytes("IPC_SimpleReply"), replyFalse},
        {bytes("IPC_SimpleReply"), Bytes{0xC1}},
        {bytes("IPC_SimpleReply"), replyTrue, bytes("extra")},
        {bytes("IPC_SimpleReply")},
    };
    for (const auto& reply : replies) {
        sendRequestWhenConnected(1);
        const auto request = editor.nextRequest();
        ASSERT_FALSE(request.routingId.empty());
        editor.reply(request.routingId, reply);
        ASSERT_TRUE(waitFor([&] { client.poll(); return !client.requestOutstanding(); })) << reply.size();
    }
    EXPECT_EQ(recorded.replies, 3) << "the reply without a body is not reported";
}

TEST_F(ClientFixture, NoticesGoOutOnThePushSocketWithoutWaiting)
{
    ASSERT_TRUE(waitFor([&] { return client.sendWithoutReply(2); }));
    EXPECT_TRUE(client.sendWithoutReply(5));
    EXPECT_FALSE(client.requestOutstanding());
    EXPECT_EQ(editor.nextNotice(), (Frames{bytes("IPC_EnumMessage"), enumBody(2)}));
    EXPECT_EQ(editor.nextNotice(), (Frames{bytes("IPC_EnumMessage"), enumBody(5)}));
}

TEST_F(ClientFixture, EveryEditorRequestIsAnsweredAndOnlyGoodOnesReachTheOwner)
{
    auto withTail = [](Bytes head, Bytes tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    struct Case {
        const char* what;
        Frames request;
        Bytes answer;
        std::vector<std::string> events;
        int messages;
    };
    const Case cases[] = {
        {"discard", {bytes("IPC_EnumMessage"), enumBody(3)}, replyTrue, {"enum 3"}, 1},
        {"repaired files", {bytes("IPC_EnumMessage"), enumBody(4)}, replyTrue, {"enum 4"}, 1},
        {"clear the link", {bytes("IPC_EnumMessage"), enumBody(0)}, replyTrue, {"enum 0"}, 1},
        {"unknown value", {bytes("IPC_EnumMessage"), enumBody(99)}, replyTrue, {"enum 99"}, 1},
        {"clip count 20", {bytes("IPC_UIntMessage"), withTail(unsignedHead, {0x00, 0x14})}, replyTrue, {"uint 0 20"}, 1},
        {"unknown kind", {bytes("IPC_UIntMessage"), withTail(unsignedHead, {0x07, 0x01})}, replyTrue, {"uint 7 1"}, 1},
        {"short array", {bytes("IPC_EnumMessage"), Bytes{0x92, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30}}, replyTrue, {"enum -1"}, 1},
        {"extra frames", {bytes("IPC_EnumMessage"), enumBody(4), bytes("more"), bytes("and more")}, replyTrue, {"enum 4"}, 1},
        {"version 3", {bytes("IPC_EnumMessage"), Bytes{0x93, 0x03, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x04}}, replyFalse, {}, 1},
        {"other tag", {bytes("IPC_EnumMessage"), Bytes{0x93, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x31, 0x04}}, replyFalse, {}, 1},
        {"unsigned version 1", {bytes("IPC_UIntMessage"), Bytes{0x94, 0x01, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x00, 0x01}}, replyFalse, {}, 1},
        {"malformed MessagePack", {bytes("IPC_EnumMessage"), Bytes{0x93, 0xC1, 0x00}}, replyFalse, {}, 1},
        {"truncated body", {bytes("IPC_UIntMessage"), Bytes{0x94, 0x02, 0xCE, 0x33}}, replyFalse, {}, 1},
        {"empty body", {bytes("IPC_EnumMessage"), Bytes{}}, replyFalse, {}, 1},
        {"missing body", {bytes("IPC_EnumMessage")}, replyFalse, {}, 0},
        {"unknown type", {bytes("IPC_Hello"), enumBody(4)}, replyFalse, {}, 0},
        {"reply type as request", {bytes("IPC_SimpleReply"), replyTrue}, replyFalse, {}, 0},
        {"type with terminating zero", {bytes(std::string_view("IPC_EnumMessage\0", 16)), enumBody(4)}, replyFalse, {}, 0},
        {"type in other case", {bytes("ipc_enummessage"), enumBody(4)}, replyFalse, {}, 0},
    };
    Util::Log::Capture log;
    for (const auto& c : cases) {
        recorded.events.clear();
        recorded.messages = 0;
        ASSERT_TRUE(editor.sendRequest(c.request)) << c.what;
        const Frames answer = editor.awaitReply([&] { client.poll(); });
        EXPECT_EQ(answer, (Frames{bytes("IPC_SimpleReply"), c.answer})) << c.what;
        EXPECT_EQ(recorded.events, c.events) << c.what;
        EXPECT_EQ(recorded.messages, c.messages) << c.what;
        EXPECT_FALSE(client.requestOutstanding()) << c.what;
    }
    EXPECT_TRUE(log.contains("unknown type \"IPC_Hello\""));
    EXPECT_TRUE(log.contains("without a body"));
}

TEST_F(ClientFixture, WaitingForInputEndsWhenTheEditorsMessageArrives)
{
    EXPECT_FALSE(client.waitForInput(20)) << "nothing was sent";
    ASSERT_TRUE(editor.sendRequest({bytes("IPC_EnumMessage"), enumBody(4)}));
    auto replied = std::async(std::launch::async, [&] { return editor.awaitReply([] {}); });
    ASSERT_TRUE(client.waitForInput(5000));
    client.poll();
    EXPECT_EQ(replied.get(), (Frames{bytes("IPC_SimpleReply"), replyTrue}));
    EXPECT_EQ(recorded.events, std::vector<std::string>{"enum 4"});

    sendRequestWhenConnected(1);
    const auto request = editor.nextRequest();
    // The wait does not hold the sockets: a notice goes out meanwhile.
    auto waiting = std::async(std::launch::async, [&] { return client.waitForInput(5000); });
    EXPECT_TRUE(client.sendWithoutReply(2));
    EXPECT_EQ(editor.nextNotice().size(), 2u);
    editor.reply(request.routingId, {bytes("IPC_SimpleReply"), replyTrue});
    EXPECT_TRUE(waiting.get());
    client.poll();
    EXPECT_FALSE(client.requestOutstanding());
}

TEST_F(ClientFixture, SignalsRunAfterTheSocketsAreFreeSoSlotsMayTakeTheirOwnLocks)
{
    // A sender holds the owner's lock and sends (as the capture-finished handler
    // does) while a slot run by the poll waits for that same lock (as the
    // enumerated handler does). Neither may wait for the other.
    std::mutex ownerLock;
    std::promise<void> slotEntered;
    std::atomic<bool> slotDone{false};
    client.enumeratedMessage.connect([&](int32_t) {
        slotEntered.set_value();
        std::lock_guard<std::mutex> hold(ownerLock);
        slotDone = true;
    });
    std::promise<void> holding;
    auto sender = std::async(std::launch::async, [&] {
        std::lock_guard<std::mutex> hold(ownerLock);
        holding.set_value();
        slotEntered.get_future().wait();
        client.sendWithoutReply(2);
    });
    holding.get_future().wait();
    ASSERT_TRUE(editor.sendRequest({bytes("IPC_EnumMessage"), enumBody(4)}));
    auto poller = std::async(std::launch::async, [&] { editor.awaitReply([&] { client.poll(); }); });
    if (sender.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the sender and the poll wait for each other";
        std::_Exit(1); // deadlocked threads cannot be joined
    }
    poller.wait();
    EXPECT_TRUE(slotDone);
}

TEST(ClientDispatch, TheEditorsRequestIsHandledBeforeItIsAnswered)
{
    // Over inproc a sent frame stands in the peer's queue as soon as the send
    // returns, so a slot can see whether the answer went out before it ran.
    const auto context = IPC::Context::create();
    IPC::Socket editor(context, ZMQ_REQ);
    editor.setOption(ZMQ_LINGER, 0);
    const IPC::SocketPair::Endpoints inproc{"inproc://dispatch-requests", "inproc://dispatch-editor",
                                            "inproc://dispatch-notices"};
    editor.bind(inproc.reply);
    Client client{context, inproc};
    std::vector<bool> answeredBeforeHandled;
    client.enumeratedMessage.connect([&](int32_t) { answeredBeforeHandled.push_back(editor.readable()); });

    ASSERT_TRUE(editor.send("IPC_EnumMessage", true, IPC::Socket::Wait::Yes));
    ASSERT_TRUE(editor.send(enumBody(4), false, IPC::Socket::Wait::Yes));
    ASSERT_TRUE(waitFor([&] {
        client.poll();
        return !answeredBeforeHandled.empty();
    }));
    EXPECT_FALSE(answeredBeforeHandled.front()) << "the answer went out before the request was handled";

    IPC::Frame type;
    IPC::Frame body;
    ASSERT_TRUE(editor.receive(type, IPC::Socket::Wait::Yes));
    ASSERT_TRUE(editor.hasMore());
    ASSERT_TRUE(editor.receive(body, IPC::Socket::Wait::Yes));
    EXPECT_EQ(type.text(), "IPC_SimpleReply");
    EXPECT_EQ(Bytes(body.bytes().begin(), body.bytes().end()), replyTrue);
}

TEST_F(ClientFixture, SendsAndPollsFromSeveralThreadsAreSerialised)
{
    constexpr int notices = 300;
    std::atomic<bool> stop{false};
    std::thread poller([&] {
        while (!stop)
            client.poll();
    });
    ASSERT_TRUE(waitFor([&] { return client.sendWithoutReply(0); }));
    int accepted = 1;
    for (int i = 1; i < notices; ++i)
        accepted += client.sendWithoutReply(i % 100) ? 1 : 0;
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(editor.sendRequest({bytes("IPC_EnumMessage"), enumBody(uint8_t(i))}));
        EXPECT_EQ(editor.awaitReply([] {}), (Frames{bytes("IPC_SimpleReply"), replyTrue}));
    }
    stop = true;
    poller.join();
    EXPECT_GT(accepted, 0);
    for (int i = 0; i < accepted; ++i)
        ASSERT_EQ(editor.nextNotice().size(), 2u) << i;
    EXPECT_TRUE(editor.nextNotice(std::chrono::milliseconds(20)).empty());
    EXPECT_EQ(recorded.events.size(), 20u);
}

// The reply time-out, on the fake clock, across the wrap of the 32-bit tick too.
class ClientReplyTimeout : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ClientReplyTimeout, AnUnansweredRequestIsAbandonedWithFreshSocketsAfter10000ms)
{
    Platform::FakeClock clock(GetParam());
    EditorPeer editor;
    Client client(IPC::Context::create(), editor.endpoints());
    ClientEvents recorded(client);
    ASSERT_TRUE(waitFor([&] { return client.sendRequest(1); }));
    const auto unanswered = editor.nextRequest();
    ASSERT_FALSE(unanswered.routingId.empty());

    clock.advance(10000);
    client.poll();
    EXPECT_TRUE(client.requestOutstanding()) << "at exactly 10000 ms the request still waits";
    EXPECT_FALSE(client.sendRequest(3));

    clock.advance(1);
    client.poll();
    EXPECT_FALSE(client.requestOutstanding());
    ASSERT_TRUE(waitFor([&] { return client.sendRequest(3); }));
    const auto renewed = editor.nextRequest();
    EXPECT_EQ(renewed.frames, (Frames{bytes("IPC_EnumMessage"), enumBody(3)}));
    EXPECT_NE(renewed.routingId, unanswered.routingId) << "the request came over the old socket";

    // A late answer to the abandoned request is lost with the old socket.
    editor.reply(unanswered.routingId, {bytes("IPC_SimpleReply"), replyTrue});
    EXPECT_FALSE(waitFor([&] { client.poll(); return recorded.replies > 0; }, std::chrono::milliseconds(200)));
    EXPECT_TRUE(client.requestOutstanding());

    editor.reply(renewed.routingId, {bytes("IPC_SimpleReply"), replyTrue});
    EXPECT_TRUE(waitFor([&] { client.poll(); return recorded.replies == 1; }));
    EXPECT_FALSE(client.requestOutstanding());
}

INSTANTIATE_TEST_SUITE_P(StartTimes, ClientReplyTimeout, ::testing::Values(1000u, 0xFFFFFFFFu - 5000u));

// Two instances in one host, each with its own sockets on the same editor: each
// gets the reply to its own request, and an editor request reaches exactly one
// of them and is answered once.
TEST(TwoClients, EachHasItsOwnRepliesAndAnEditorRequestReachesOneOfThem)
{
    EditorPeer editor;
    Client first{IPC::Context::create(), editor.endpoints()};
    Client second{IPC::Context::create(), editor.endpoints()};
    ClientEvents firstEvents{first}, secondEvents{second};

    ASSERT_TRUE(waitFor([&] { return first.sendRequest(1); }));
    ASSERT_TRUE(waitFor([&] { return second.sendRequest(2); }));
    const auto a = editor.nextRequest();
    const auto b = editor.nextRequest();
    ASSERT_FALSE(a.routingId.empty());
    ASSERT_FALSE(b.routingId.empty());
    EXPECT_NE(a.routingId, b.routingId);
    // Answer in the other order than they came: each reply finds its sender.
    editor.reply(b.routingId, {bytes("IPC_SimpleReply"), replyTrue});
    editor.reply(a.routingId, {bytes("IPC_SimpleReply"), replyTrue});
    EXPECT_TRUE(waitFor([&] {
        first.poll();
        second.poll();
        return !first.requestOutstanding() && !second.requestOutstanding();
    }));
    EXPECT_EQ(firstEvents.replies, 1);
    EXPECT_EQ(secondEvents.replies, 1);

    ASSERT_TRUE(editor.sendRequest({bytes("IPC_EnumMessage"), enumBody(4)}));
    const Frames answer = editor.awaitReply([&] {
        first.poll();
        second.poll();
    });
    EXPECT_EQ(answer, (Frames{bytes("IPC_SimpleReply"), replyTrue}));
    first.poll();
    second.poll();
    EXPECT_EQ(firstEvents.events.size() + secondEvents.events.size(), 1u);
    EXPECT_EQ(firstEvents.messages + secondEvents.messages, 1);
}

// Editor requests that arrive together queue up in the client's reply socket
// behind the one a poll takes, and libzmq signals the socket's descriptor once
// for all of them. Each later poll must still take the next one: here an
// editor that does not wait for answers (a DEALER) sends a burst of requests
// between two polls, and every one is handled and answered in order.
TEST(ClientQueuedRequests, EachRequestOfABurstIsTakenAtItsOwnPoll)
{
    EditorPeer peer;
    auto context = IPC::Context::create();
    IPC::Socket editor(context, ZMQ_DEALER);
    editor.setOption(ZMQ_LINGER, 0);
    IPC::SocketPair::Endpoints endpoints = peer.endpoints();
    endpoints.reply = editor.bind("tcp://127.0.0.1:*");
    Client client(IPC::Context::create(), endpoints);
    ClientEvents recorded(client);

    constexpr uint8_t Burst = 8;
    const auto sendRequest = [&](uint8_t value, IPC::Socket::Wait wait) {
        if (!editor.send(std::string_view{}, true, wait)) // the envelope a REP socket expects
            return false;
        editor.send(std::string_view{"IPC_EnumMessage"}, true);
        editor.send(enumBody(value), false);
        return true;
    };
    // The first request waits for the client's connection; the rest follow at once.
    ASSERT_TRUE(waitFor([&] { return sendRequest(1, IPC::Socket::Wait::No); }));
    for (uint8_t value = 2; value <= Burst; ++value)
        ASSERT_TRUE(sendRequest(value, IPC::Socket::Wait::Yes));

    std::vector<std::string> expected;
    for (uint8_t value = 1; value <= Burst; ++value)
        expected.push_back("enum " + std::to_string(value));
    EXPECT_TRUE(waitFor([&] {
        client.poll();
        return recorded.events.size() == expected.size();
    })) << "requests left waiting: " << expected.size() - recorded.events.size();
    EXPECT_EQ(recorded.events, expected);

    int answered = 0;
    IPC::Frame frame;
    while (answered < Burst && waitFor([&] { return editor.receive(frame, IPC::Socket::Wait::No); })) {
        if (!editor.hasMore()) { // the last frame of an answer
            EXPECT_EQ(Bytes(frame.bytes().begin(), frame.bytes().end()), replyTrue);
            ++answered;
        }
    }
    EXPECT_EQ(answered, Burst);
}
