#include "analytics/GoogleAnalyticsDispatcher.h"

#include "network/HttpError.h"
#include "util/Log.h"

#include <cstdlib>
#include <utility>

namespace Analytics {

namespace {

// Every character but the unreserved ones as %XX; a blank is "%20", not "+".
Util::String formEncoded(const Util::String& text)
{
    static const char hex[] = "0123456789ABCDEF";
    Util::String out;
    out.reserve(text.size());
    for (const unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '_' || c == '.' || c == '~';
        if (unreserved) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

void append(Util::String& hit, const Util::String& name, const Util::String& value)
{
    hit += Util::format("&%1=%2", name, formEncoded(value));
}

bool complete(const GoogleAnalyticsDispatcher::Settings& s)
{
    return !s.trackingId.empty() && !s.clientId.empty() && !s.userId.empty() && !s.applicationName.empty() &&
           !s.applicationVersion.empty();
}

bool complete(const Event& event)
{
    if (!event.kind)
        return false;
    if (*event.kind == Event::Kind::Event)
        return !event.category.empty() && !event.action.empty();
    return !event.screenName.empty();
}

} // namespace

Util::String GoogleAnalyticsDispatcher::serviceUrl()
{
    const char* url = std::getenv("RELAY_ANALYTICS_URL");
    return url && *url ? url : DefaultServiceUrl;
}

GoogleAnalyticsDispatcher::GoogleAnalyticsDispatcher(Settings settings, Util::String url)
    : settings_(std::move(settings)), url_(std::move(url))
{
}

GoogleAnalyticsDispatcher::~GoogleAnalyticsDispatcher()
{
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
    waiting_.clear();
}

std::optional<Util::String> GoogleAnalyticsDispatcher::hit(const Event& event) const
{
    if (!complete(settings_) || !complete(event))
        return std::nullopt;
    Util::String hit = "v=1";
    append(hit, "tid", settings_.trackingId);
    append(hit, "cid", settings_.clientId);
    append(hit, "uid", settings_.userId);
    append(hit, "an", settings_.applicationName);
    append(hit, "av", settings_.applicationVersion);
    append(hit, "cd1", settings_.customDimension1);
    for (const auto& [index, text] : event.customDimensions)
        if (index > Event::FirstDimension && index <= Event::LastDimension)
            append(hit, Util::format("cd%1", index), text);
    if (*event.kind == Event::Kind::Event) {
        append(hit, "t", "event");
        append(hit, "ec", event.category);
        append(hit, "ea", event.action);
        if (event.label)
            append(hit, "el", *event.label);
    } else {
        append(hit, "t", "screenview");
        append(hit, "cd", event.screenName);
    }
    if (event.value) // a negative value goes out as its 32-bit complement
        append(hit, "ev", Util::toText(uint32_t(*event.value)));
    for (const auto& [name, text] : event.extraParameters)
        append(hit, name, text);
    return hit;
}

bool GoogleAnalyticsDispatcher::dispatch(const Event& event)
{
    auto body = hit(event);
    if (!body)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (closing_)
        return false;
    waiting_.push_back(std::move(*body));
    if (!sending_)
        sendNextLocked();
    return true;
}

void GoogleAnalyticsDispatcher::sendNextLocked()
{
    sending_ = !waiting_.empty();
    if (!sending_)
        return;
    const Util::String body = std::move(waiting_.front());
    waiting_.pop_front();
    try {
        http_.post(url_, body, TimeoutMs, [this](const Network::HttpReply& reply) { ended(reply); });
    } catch (const Network::HttpError& error) {
        // Only one hit is ever in flight, so the worker cannot be busy here;
        // should it be, the hit is dropped like any failed one.
        sending_ = false;
        Util::Log::write(Util::format("Analytics: hit not sent: %1", error.message()));
    }
}

void GoogleAnalyticsDispatcher::ended(const Network::HttpReply& reply)
{
    if (!reply.ok)
        Util::Log::write(Util::format("Analytics: hit not delivered: %1", reply.error));
    dispatchEnded(reply.ok, reply.error);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!closing_)
        sendNextLocked();
}

} // namespace Analytics
