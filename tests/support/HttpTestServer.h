#pragma once
#include "support/ChildProcess.h"

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>

namespace TestSupport {

// tests/support/http_test_server.py on 127.0.0.1 and a free port: a real HTTP
// server (Python's) that reports every request it receives and answers as
// told (see the script for its modes).
class HttpTestServer {
public:
    struct Request {
        std::string method;
        std::string path;
        std::string version;
        std::map<std::string, std::string> headers; // names lower-cased
        std::string body;
    };

    HttpTestServer();

    // http://127.0.0.1:<port>/collect
    const std::string& url() const { return url_; }
    // Switches the answering mode; returns once the server has switched.
    void setMode(const std::string& mode);
    // Lets held requests answer.
    void release();
    // The next request the server received, waited for within `limit`.
    std::optional<Request> nextRequest(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    void acknowledged(const std::string& command);
    bool readOne(std::chrono::milliseconds limit);

    ChildProcess process_;
    std::string url_;
    std::deque<Request> requests_;
    std::deque<std::string> acknowledgements_;
};

} // namespace TestSupport
