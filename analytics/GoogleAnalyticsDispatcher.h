#pragma once
#include "analytics/AnalyticsDispatcher.h"
#include "network/Http.h"
#include "util/Trackable.h"

#include <deque>
#include <mutex>
#include <optional>

namespace Analytics {

// Turns events into measurement-protocol hits (version 1, form-encoded, a
// blank as "%20") and posts them to the service's collect endpoint, one after
// another in the order dispatched, on the HTTP worker: dispatching never waits
// for the network. Nothing is retried; a failed hit is logged and dropped.
class GoogleAnalyticsDispatcher final : public AnalyticsDispatcher {
public:
    struct Settings {
        Util::String trackingId;
        Util::String clientId;
        Util::String userId;
        Util::String applicationName;
        Util::String applicationVersion;
        Util::String customDimension1; // sent with every hit as cd1
    };

    static constexpr const char* DefaultServiceUrl = "http://www.google-analytics.com/collect";
    static constexpr uint32_t TimeoutMs = 5000;

    // $RELAY_ANALYTICS_URL when set, else the service's own address. [any-thread]
    static Util::String serviceUrl();

    explicit GoogleAnalyticsDispatcher(Settings settings, Util::String url = serviceUrl());
    // Drops the hits not yet sent and ends the one in flight at once. [any-thread], not audio
    ~GoogleAnalyticsDispatcher() override;

    // The hit's body; none when the event or the settings are incomplete. [any-thread], not audio
    std::optional<Util::String> hit(const Event& event) const;
    // Queues the event's hit behind those not yet sent and returns; false when
    // there is no hit to send. How the post ended is told by dispatchEnded.
    // [any-thread], not audio
    bool dispatch(const Event& event) override;

    // Each dispatched hit's end, on the HTTP worker: delivered (the whole reply
    // read), or not and why ("HTTP Timeout", a connection error...).
    Util::Signal<void(bool delivered, const Util::String& error)> dispatchEnded;

private:
    void sendNextLocked();
    void ended(const Network::HttpReply& reply);

    const Settings settings_;
    const Util::String url_;
    std::mutex mutex_;
    std::deque<Util::String> waiting_;
    bool sending_ = false;
    bool closing_ = false;
    Network::Http http_; // last: its worker ends before the queue goes
};

} // namespace Analytics
