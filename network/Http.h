#pragma once
#include "network/HttpReply.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace Network {

class HttpHelper;

// Posts form bodies over plain HTTP, one request at a time, on a worker thread
// of its own (made at the first post): the poster never waits for the network.
// The time-out runs on the platform's millisecond tick from the moment of the
// post; when it passes first, the request ends with "HTTP Timeout". Nothing is
// retried. Destruction ends a request in flight at once.
class Http {
public:
    using Completion = std::function<void(const HttpReply&)>;

    static constexpr const char* TimeoutText = "HTTP Timeout";
    static constexpr const char* PendingText = "Request already pending.";

    Http();
    ~Http(); // [any-thread], not audio; never from a Completion
    Http(const Http&) = delete;
    Http& operator=(const Http&) = delete;

    // Hands the request to the worker and returns; `done` runs on the worker
    // when it ends, and may post the next request. Throws HttpError
    // ("Request already pending.") while another is in flight. [any-thread], not audio
    void post(const Util::String& url, const Util::String& body, uint32_t timeoutMs, Completion done);
    // A request is in flight. [any-thread]
    bool pending() const;

private:
    HttpHelper& helper();

    mutable std::mutex mutex_;
    std::unique_ptr<HttpHelper> helper_;
};

} // namespace Network
