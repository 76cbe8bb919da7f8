#pragma once
#include "analytics/Event.h"
#include "analytics/GoogleAnalyticsDispatcher.h"
#include "core/UsageReporter.h"
#include "io/ConfigFile.h"
#include "util/Trackable.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace UI {
class CommandManager;
}

namespace Analytics {

// The instance's usage reporting: the enable flag, the queue of events not yet
// handed on, and the dispatcher. Made with the instance; at that moment it
// settles the client identity (drawn once, kept in the analytics store) and,
// when reporting is on, reports the machine's facts that changed since they
// were last reported. Reporting is off unless the store's "EnableAnalytics" is
// true; a disabled manager drops every event and touches nothing.
class AnalyticsManager final : public UsageReporter, public Trackable {
public:
    // What the instance tells about itself.
    struct Product {
        Util::String settingsKey;        // the analytics store's key path
        Util::String trackingId;         // the product's measurement property
        Util::String applicationName;
        Util::String applicationVersion; // empty: no hit is ever sent
        Util::String customDimension1;
        Util::String productName;        // in the "Use Frequency" action
        bool allowed = true;             // the instance allows analytics at all
    };

    // Reads and writes the analytics store, and may post. [any-thread], not audio
    explicit AnalyticsManager(const Product& product);
    ~AnalyticsManager() override;

    void setEnabled(bool enabled) { enabled_.store(enabled, std::memory_order_release); } // [any-thread]
    bool isEnabled() const { return enabled_.load(std::memory_order_acquire); }          // [any-thread]
    // Dropped when disabled; handed to the dispatcher when immediate, else
    // queued until flush(). [any-thread], not audio
    void post(const Event& event, bool immediate);

    // Once a day "Use Frequency" (with the days since the last opening) and
    // "Plugin Host"; every time "Channel Config". [ui-thread]
    void editorOpened(const Util::String& hostApplication, const Util::String& channelConfiguration) override;
    // Hands the queued events to the dispatcher. With nothing queued it
    // touches nothing and never waits. [any-thread]
    void flush() override;

    // "Post Event" posts the command's event, "Enable Analytics" sets the flag
    // (in memory only); both while this manager lives. [ui-thread]
    void registerCommands(UI::CommandManager& commands);

    const Util::String& clientId() const { return clientId_; }      // [any-thread]
    GoogleAnalyticsDispatcher& dispatcher() { return dispatcher_; } // [any-thread]

    // Days since 1970-01-01 UTC. [any-thread]
    static uint32_t today();

    static constexpr const char* EnableKey = "EnableAnalytics";
    static constexpr const char* ClientIdKey = "GenteratedRandomID";
    static constexpr const char* DayLastOpenedKey = "AnalyticsDayLastOpened";

private:
    Util::String settledClientId();
    void reportChangedSystemFacts();
    void reportIfChanged(const char* key, const Util::String& now, Event event);
    void reportIfChanged(const char* key, uint32_t now, const char* category);

    Util::ConfigFile store_;
    const Util::String productName_;
    const Util::String clientId_;
    std::atomic<bool> enabled_{false};
    std::mutex queueMutex_;
    std::vector<Event> queued_;
    GoogleAnalyticsDispatcher dispatcher_;
};

} // namespace Analytics
