#pragma once
#include "network/HttpReply.h"
#include "util/Thread.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace Network {

// The worker of Network::Http: a thread, "HTTP Helper Thread", that carries out
// one plain HTTP POST at a time with libcurl. Between short waits for the
// network it asks its owner whether to give up, so a silent server never holds
// it longer than the owner allows, and destruction ends a running exchange at
// once instead of waiting for the server.
class HttpHelper {
public:
    // Asked on the worker between waits: a reason ends the exchange, with that
    // reason as its error; null lets it go on.
    using GiveUp = std::function<const char*()>;
    using Done = std::function<void(const HttpReply&)>;

    static constexpr const char* ThreadName = "HTTP Helper Thread";
    static constexpr const char* Agent = "Quillex";
    static constexpr const char* ContentType = "Content-Type: application/x-www-form-urlencoded";

    HttpHelper(); // [any-thread], not audio
    // Ends a running exchange without calling its Done, then the thread. [any-thread], not the worker
    ~HttpHelper();
    HttpHelper(const HttpHelper&) = delete;
    HttpHelper& operator=(const HttpHelper&) = delete;

    // Starts a POST of `body` to `url`; false, changing nothing, while one runs.
    // `done` runs on the worker when the exchange ends; it may start the next.
    // [any-thread], not audio
    bool start(Util::String url, Util::String body, GiveUp giveUp, Done done);
    bool busy() const { return busy_.load(std::memory_order_acquire); } // [any-thread]

private:
    struct Job {
        Util::String url;
        Util::String body;
        GiveUp giveUp;
        Done done;
    };
    struct MultiCleanup {
        void operator()(void* multi) const;
    };

    void run(Util::Thread& self);
    HttpReply exchange(const Job& job);

    std::unique_ptr<void, MultiCleanup> multi_;
    std::mutex mutex_;
    std::optional<Job> job_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> closing_{false};
    Util::Thread thread_{ThreadName};
};

} // namespace Network
