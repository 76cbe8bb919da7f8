#include <gtest/gtest.h>

#include "network/Http.h"
#include "network/HttpError.h"
#include "support/FakeClock.h"
#include "support/HttpTestServer.h"

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <optional>

namespace {

using TestSupport::HttpTestServer;
constexpr uint32_t TimeoutMs = 5000;

// Collects the replies of one Http object's requests, as they end on its worker.
class Replies {
public:
    Network::Http::Completion collector()
    {
        return [this](const Network::HttpReply& reply) {
            std::lock_guard<std::mutex> lock(mutex_);
            replies_.push_back(reply);
            arrived_.notify_all();
        };
    }
    // The next reply, waited for within a bound that only a hang exceeds.
    std::optional<Network::HttpReply> next()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!arrived_.wait_for(lock, std::chrono::seconds(20), [this] { return taken_ < replies_.size(); }))
            return std::nullopt;
        return replies_[taken_++];
    }
    size_t count()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return replies_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Network::HttpReply> replies_;
    size_t taken_ = 0;
};

} // namespace

TEST(Http, PostsAPlainFormPostAndReadsTheWholeReply)
{
    HttpTestServer server;
    Network::Http http;
    Replies replies;
    http.post(server.url(), "v=1&ec=Use%20Frequency", TimeoutMs, replies.collector());

    const auto request = server.nextRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->method, "POST");
    EXPECT_EQ(request->path, "/collect");
    EXPECT_EQ(request->version, "HTTP/1.1");
    EXPECT_EQ(request->headers.at("user-agent"), "Quillex");
    EXPECT_EQ(request->headers.at("content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request->headers.count("expect"), 0u);
    EXPECT_EQ(request->body, "v=1&ec=Use%20Frequency");

    const auto reply = replies.next();
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->ok) << reply->error;
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(reply->body, std::string(100000, 'x'));
    EXPECT_FALSE(http.pending());
}

TEST(Http, ThePostReturnsBeforeTheServerAnswersAndASecondOneIsRefused)
{
    Platform::FakeClock clock(1000);
    HttpTestServer server;
    server.setMode("hold");
    Network::Http http;
    Replies replies;
    http.post(server.url(), "first", TimeoutMs, replies.collector());
    // The server holds its answer until released: reaching this line is the proof.
    ASSERT_TRUE(server.nextRequest());
    EXPECT_TRUE(http.pending());
    try {
        http.post(server.url(), "second", TimeoutMs, replies.collector());
        ADD_FAILURE() << "a second post while one is in flight was taken";
    } catch (const Network::HttpError& error) {
        EXPECT_EQ(error.message(), "Request already pending.");
    }

    // One tick short of the time-out the request still waits for its answer.
    clock.advance(TimeoutMs - 1);
    server.release();
    const auto reply = replies.next();
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->ok) << reply->error;
    EXPECT_EQ(replies.count(), 1u);

    server.setMode("reply");
    http.post(server.url(), "third", TimeoutMs, replies.collector());
    EXPECT_EQ(server.nextRequest()->body, "third") << "the refused second post never went out";
    ASSERT_TRUE(replies.next());
}

TEST(Http, ASilentServerTimesOutOnTheTickAndTheNextPostWorks)
{
    Platform::FakeClock clock(1000);
    HttpTestServer server;
    server.setMode("silent");
    Network::Http http;
    Replies replies;
    http.post(server.url(), "unanswered", TimeoutMs, replies.collector());
    ASSERT_TRUE(server.nextRequest());
    clock.advance(TimeoutMs);
    const auto timedOut = replies.next();
    ASSERT_TRUE(timedOut);
    EXPECT_FALSE(timedOut->ok);
    EXPECT_EQ(timedOut->error, "HTTP Timeout");
    EXPECT_FALSE(http.pending());

    server.setMode("reply");
    http.post(server.url(), "next", TimeoutMs, replies.collector());
    EXPECT_EQ(server.nextRequest()->body, "next");
    const auto answered = replies.next();
    ASSERT_TRUE(answered);
    EXPECT_TRUE(answered->ok) << answered->error;
}

TEST(Http, ABrokenReplyEndsTheRequestWithTheFailureOfItsStage)
{
    HttpTestServer server;
    Network::Http http;
    Replies replies;
    const struct {
        const char* mode;
        const char* error;
    } cases[] = {
        {"cut", "Unable to read data from the server."},     // the body breaks off
        {"garbage", "Unable to query size information."},    // no status line
        {"close", "Unable to query size information."},      // nothing at all
    };
    for (const auto& c : cases) {
        server.setMode(c.mode);
        http.post(server.url(), c.mode, TimeoutMs, replies.collector());
        ASSERT_TRUE(server.nextRequest()) << c.mode;
        const auto reply = replies.next();
        ASSERT_TRUE(reply) << c.mode;
        EXPECT_FALSE(reply->ok) << c.mode;
        EXPECT_EQ(reply->error, c.error) << c.mode;
    }
    server.setMode("reply");
    http.post(server.url(), "after", TimeoutMs, replies.collector());
    const auto reply = replies.next();
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->ok) << reply->error;
}

TEST(Http, RequestsThatReachNoServerFailWithoutAReply)
{
    Network::Http http;
    Replies replies;
    const struct {
        const char* url;
        const char* error; // null: libcurl's own words
    } cases[] = {
        {"https://127.0.0.1:1/collect", "Invalid request handle."}, // plain HTTP only
        {"http://", "Invalid request handle."},
        {"http://127.0.0.1:1/collect", nullptr}, // nothing listens there
    };
    for (const auto& c : cases) {
        http.post(c.url, "v=1", TimeoutMs, replies.collector());
        const auto reply = replies.next();
        ASSERT_TRUE(reply) << c.url;
        EXPECT_FALSE(reply->ok) << c.url;
        EXPECT_EQ(reply->status, 0) << c.url;
        if (c.error)
            EXPECT_EQ(reply->error, c.error) << c.url;
        else
            EXPECT_FALSE(reply->error.empty()) << c.url;
    }
}

TEST(Http, DestructionEndsARequestInFlightWithoutWaitingForTheServer)
{
    Platform::FakeClock clock(1000); // never reaches the time-out
    HttpTestServer server;
    server.setMode("silent");
    Replies replies;
    auto http = std::make_unique<Network::Http>();
    http->post(server.url(), "abandoned", TimeoutMs, replies.collector());
    ASSERT_TRUE(server.nextRequest());
    // The server never answers and the time-out never passes: only ending the
    // request at once lets the destructor return.
    auto destroyed = std::async(std::launch::async, [&] { http.reset(); });
    const bool returned = destroyed.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    clock.advance(TimeoutMs); // lets a destructor that waits for the time-out end the test
    destroyed.get();
    EXPECT_TRUE(returned) << "destruction waited for the server";
    EXPECT_EQ(replies.count(), 0u) << "an abandoned request reports nothing";
}
