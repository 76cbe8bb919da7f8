#include "analytics/AnalyticsManager.h"

#include "analytics/EnableAnalyticsCommand.h"
#include "analytics/PostEventCommand.h"
#include "platform/SystemFacts.h"
#include "ui/CommandManager.h"

#include <chrono>
#include <limits>
#include <random>

namespace Analytics {

namespace {

constexpr uint32_t BytesPerMiB = 1024u * 1024u;
constexpr int HostDimension = 4;
constexpr int OperatingSystemDimension = 3;

Util::String randomClientId()
{
    std::mt19937 generator(uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
    std::uniform_int_distribution<uint32_t> draw(1, uint32_t(std::numeric_limits<int32_t>::max()));
    return Util::toText(draw(generator));
}

} // namespace

AnalyticsManager::AnalyticsManager(const Product& product)
    : store_(product.settingsKey), productName_(product.productName), clientId_(settledClientId()),
      dispatcher_({product.trackingId, clientId_, clientId_, product.applicationName, product.applicationVersion,
                   product.customDimension1})
{
    setEnabled(product.allowed && store_.GetBool(EnableKey, false));
    if (isEnabled())
        reportChangedSystemFacts();
}

AnalyticsManager::~AnalyticsManager() = default;

uint32_t AnalyticsManager::today()
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return uint32_t(seconds.count() / 86400);
}

Util::String AnalyticsManager::settledClientId()
{
    Util::String id = store_.GetString(ClientIdKey, "");
    if (id.empty()) {
        id = randomClientId();
        store_.SetString(ClientIdKey, id);
    }
    return id;
}

void AnalyticsManager::post(const Event& event, bool immediate)
{
    if (!isEnabled())
        return;
    if (immediate) {
        dispatcher_.dispatch(event);
        return;
    }
    std::lock_guard<std::mutex> lock(queueMutex_);
    queued_.push_back(event);
}

void AnalyticsManager::flush()
{
    std::vector<Event> events;
    {
        std::unique_lock<std::mutex> lock(queueMutex_, std::try_to_lock);
        if (!lock || queued_.empty())
            return;
        events.swap(queued_);
    }
    for (const Event& event : events)
        dispatcher_.dispatch(event);
}

void AnalyticsManager::editorOpened(const Util::String& hostApplication, const Util::String& channelConfiguration)
{
    if (!isEnabled())
        return;
    const uint32_t day = today();
    const int64_t days = int64_t(day) - int64_t(store_.GetUInt(DayLastOpenedKey, day - 1));
    if (days >= 1) {
        Event frequency = Event::event("Use Frequency", Util::format("%1 (Days)", productName_));
        frequency.value = int32_t(std::min<int64_t>(days, std::numeric_limits<int32_t>::max()));
        post(frequency, true);
        store_.SetUInt(DayLastOpenedKey, day);
        Event host = Event::event("Plugin Host", hostApplication);
        host.customDimensions[HostDimension] = hostApplication;
        post(host, true);
    }
    post(Event::event("Channel Config", channelConfiguration), true);
}

void AnalyticsManager::reportChangedSystemFacts()
{
    const Platform::SystemFacts& facts = Platform::systemFacts();
    const Util::String system = facts.operatingSystem();
    Event os = Event::event("OS", system);
    os.customDimensions[OperatingSystemDimension] = system;
    reportIfChanged("Usage/OS", system, std::move(os));
    reportIfChanged("Usage/NumCpuCores", facts.logicalProcessorCount(), "LogicalCores");
    reportIfChanged("Usage/TotalPhysicalMemoryMB", uint32_t(facts.physicalMemoryBytes() / BytesPerMiB),
                    "PhysicalMemoryMB");
    if (const auto screen = facts.mainScreenSize()) {
        if (store_.GetUInt("Usage/ScreenWidth", 0) != screen->width ||
            store_.GetUInt("Usage/ScreenHeight", 0) != screen->height) {
            store_.SetUInt("Usage/ScreenWidth", screen->width);
            store_.SetUInt("Usage/ScreenHeight", screen->height);
            post(Event::event("ScreenResolution", Util::format("%1 x %2", screen->width, screen->height)), true);
        }
    }
}

void AnalyticsManager::reportIfChanged(const char* key, const Util::String& now, Event event)
{
    if (store_.GetString(key, "") == now)
        return;
    store_.SetString(key, now);
    post(event, true);
}

void AnalyticsManager::reportIfChanged(const char* key, uint32_t now, const char* category)
{
    if (store_.GetUInt(key, 0) == now)
        return;
    store_.SetUInt(key, now);
    post(Event::event(category, Util::toText(now)), true);
}

void AnalyticsManager::registerCommands(UI::CommandManager& commands)
{
    commands.registerHandler(Command::PostEventCommand::Name, *this, [this](const Command::CommandInvocation& c) {
        const auto* command = dynamic_cast<const Command::PostEventCommand*>(&c);
        if (command)
            post(command->event(), command->immediate());
        return command != nullptr;
    });
    commands.registerHandler(Command::EnableAnalyticsCommand::Name, *this, [this](const Command::CommandInvocation& c) {
        const auto* command = dynamic_cast<const Command::EnableAnalyticsCommand*>(&c);
        if (command)
            setEnabled(command->enabled());
        return command != nullptr;
    });
}

} // namespace Analytics
