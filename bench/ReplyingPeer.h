#pragma once
#include <atomic>
#include <string>
#include <thread>

// The editor's side of a request link for the figures: a REP socket that
// answers every request with a positive simple reply until it is destroyed.
class ReplyingPeer {
public:
    // `endpoint` as libzmq binds it; the default takes an ephemeral port.
    explicit ReplyingPeer(const std::string& endpoint = "tcp://127.0.0.1:*");
    ~ReplyingPeer();
    ReplyingPeer(const ReplyingPeer&) = delete;
    ReplyingPeer& operator=(const ReplyingPeer&) = delete;

    bool bound() const { return bound_; }
    int answered() const { return answered_.load(); }
    const std::string& endpoint() const { return endpoint_; }

private:
    void serve();

    void* context_;
    void* socket_;
    bool bound_ = false;
    std::atomic<int> answered_{0};
    std::string endpoint_;
    std::thread thread_;
};
