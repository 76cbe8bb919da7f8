#include <gtest/gtest.h>

#include "analytics/AnalyticsManager.h"
#include "analytics/EnableAnalyticsCommand.h"
#include "analytics/PostEventCommand.h"
#include "core/TestWrapper.h"
#include "network/Http.h"
#include "product/PluginFactoryImpl.h"
#include "support/FakeClock.h"
#include "support/FakeSystemFacts.h"
#include "support/HttpTestServer.h"
#include "ui/PluginEditorWindow.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <regex>

namespace {

using Analytics::AnalyticsManager;
using Analytics::Event;
using Analytics::GoogleAnalyticsDispatcher;

constexpr const char* StoreKey = "SOFTWARE\\Quillex\\VO6\\Analytics";
const std::string Prefix =
    "v=1&tid=UA-TEST-1&cid=1234567&uid=1234567&an=TW%206%20Relay&av=6.10.2340&cd1=VST3";
const std::regex CreationTime(R"(&cd10=\d{4}-\d\d-\d\dT\d\d%3A\d\d%3A\d\d(%2B|-)\d{4})");

// The hit with its creation time (custom dimension 10, local time) replaced by
// "<time>"; empty when the hit carries no well-formed creation time.
std::string withoutTime(const std::string& hit)
{
    std::smatch found;
    if (!std::regex_search(hit, found, CreationTime))
        return {};
    return found.prefix().str() + "&cd10=<time>" + found.suffix().str();
}

GoogleAnalyticsDispatcher::Settings settings()
{
    return {"UA-TEST-1", "1234567", "1234567", "TW 6 Relay", "6.10.2340", "VST3"};
}

// Ends of a dispatcher's hits as they are reported on the HTTP worker.
class Ends : public Trackable {
public:
    explicit Ends(GoogleAnalyticsDispatcher& dispatcher)
    {
        connect(dispatcher.dispatchEnded, [this](bool delivered, const Util::String& error) {
            std::lock_guard<std::mutex> lock(mutex_);
            ends_.emplace_back(delivered, error);
            changed_.notify_all();
        });
    }
    // The n-th end (from 0), waited for within a bound that only a hang exceeds.
    std::optional<std::pair<bool, Util::String>> at(size_t n)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, std::chrono::seconds(20), [&] { return ends_.size() > n; }))
            return std::nullopt;
        return ends_[n];
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<bool, Util::String>> ends_;
};

class AnalyticsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("RELAY_ANALYTICS_URL", server.url().c_str(), 1);
        for (const char* key : {AnalyticsManager::EnableKey, AnalyticsManager::ClientIdKey, AnalyticsManager::DayLastOpenedKey})
            store.RemoveValue(key);
        store.RemoveKey("Usage");
        store.SetBool(AnalyticsManager::EnableKey, true);
        store.SetString(AnalyticsManager::ClientIdKey, "1234567");
    }
    void TearDown() override { unsetenv("RELAY_ANALYTICS_URL"); }

    // The machine's facts as already reported, so that a new manager reports none.
    void storeFacts()
    {
        store.SetString("Usage/OS", facts.system);
        store.SetUInt("Usage/NumCpuCores", facts.cores);
        store.SetUInt("Usage/TotalPhysicalMemoryMB", uint32_t(facts.memory >> 20));
        store.SetUInt("Usage/ScreenWidth", facts.screen->width);
        store.SetUInt("Usage/ScreenHeight", facts.screen->height);
    }

    static AnalyticsManager::Product product()
    {
        AnalyticsManager::Product p;
        p.settingsKey = StoreKey;
        p.trackingId = "UA-TEST-1";
        p.applicationName = "TW 6 Relay";
        p.applicationVersion = "6.10.2340";
        p.customDimension1 = "VST3";
        p.productName = "TW 6 Relay";
        return p;
    }

    // Every hit the server receives before a sentinel posted now: the manager's
    // own when it reports, else one posted beside it. Hits go out in order, so
    // the sentinel's arrival proves that nothing else is on its way.
    std::vector<std::string> hitsBeforeSentinel(AnalyticsManager* reporting)
    {
        Network::Http sideChannel;
        if (reporting)
            reporting->post(Event::event("Test", "Sentinel"), true);
        else
            sideChannel.post(server.url(), "Sentinel", GoogleAnalyticsDispatcher::TimeoutMs, {});
        std::vector<std::string> hits;
        for (;;) {
            const auto request = server.nextRequest();
            if (!request) {
                ADD_FAILURE() << "the sentinel never arrived";
                return hits;
            }
            if (request->body.find("Sentinel") != std::string::npos)
                return hits;
            hits.push_back(withoutTime(request->body));
        }
    }

    TestSupport::HttpTestServer server;
    FakeSystemFacts facts;
    Util::ConfigFile store{StoreKey};
};

} // namespace

TEST(AnalyticsHit, IsBuiltInTheProtocolsOrderWithEveryValueFormEncoded)
{
    const GoogleAnalyticsDispatcher dispatcher(settings(), "http://127.0.0.1:1/collect");
    Event full = Event::event("Menu & Help", "a&b=c/d+e");
    full.label = "Main Window";
    full.value = 42;
    full.customDimensions = {{0, "none"}, {1, "not ours"}, {20, "twenty"}, {2, "two"}, {10, "2024-01-02T03:04:05+0100"},
                             {21, "too far"}};
    full.extraParameters = {{"ni", "1"}, {"dp", "/main window"}};
    Event negative = Event::event("Level", "Low");
    negative.value = -1;
    negative.customDimensions.clear();
    Event screen = Event::screenView("Main Window");
    screen.label = "not sent for a screen view";
    screen.value = 7;
    screen.customDimensions.clear();
    screen.extraParameters = {{"x", "y z"}};

    const std::string prefix = Prefix;
    const struct {
        const Event* event;
        std::string hit;
    } cases[] = {
        {&full, prefix + "&cd2=two&cd10=2024-01-02T03%3A04%3A05%2B0100&cd20=twenty&t=event&ec=Menu%20%26%20Help"
                         "&ea=a%26b%3Dc%2Fd%2Be&el=Main%20Window&ev=42&dp=%2Fmain%20window&ni=1"},
        {&negative, prefix + "&t=event&ec=Level&ea=Low&ev=4294967295"},
        {&screen, prefix + "&t=screenview&cd=Main%20Window&ev=7&x=y%20z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dispatcher.hit(*c.event).value_or("(none)"), c.hit);
}

TEST(AnalyticsHit, NoneForAnIncompleteEventOrIncompleteSettings)
{
    const Event complete = Event::event("OS", "TestOS");
    Event withoutKind = complete;
    withoutKind.kind.reset();
    const Event& unkinded = withoutKind;
    const Event withoutAction = Event::event("OS", "");
    const Event withoutCategory = Event::event("", "TestOS");
    const Event unnamedScreen = Event::screenView("");
    for (const Event* event : {&unkinded, &withoutAction, &withoutCategory, &unnamedScreen})
        EXPECT_FALSE(GoogleAnalyticsDispatcher(settings()).hit(*event));

    using Field = Util::String GoogleAnalyticsDispatcher::Settings::*;
    for (const Field field : {&GoogleAnalyticsDispatcher::Settings::trackingId, &GoogleAnalyticsDispatcher::Settings::clientId,
                              &GoogleAnalyticsDispatcher::Settings::userId, &GoogleAnalyticsDispatcher::Settings::applicationName,
                              &GoogleAnalyticsDispatcher::Settings::applicationVersion}) {
        auto incomplete = settings();
        incomplete.*field = "";
        GoogleAnalyticsDispatcher dispatcher(incomplete);
        EXPECT_FALSE(dispatcher.hit(complete));
        EXPECT_FALSE(dispatcher.dispatch(complete));
    }
    auto withoutDimension = settings();
    withoutDimension.customDimension1 = "";
    EXPECT_TRUE(GoogleAnalyticsDispatcher(withoutDimension).hit(complete)) << "the first dimension may be empty";
}

TEST_F(AnalyticsTest, SystemFactsThatChangedAreReportedOnceEachWithExactBodies)
{
    AnalyticsManager manager(product());
    const std::vector<std::string> expected = {
        Prefix + "&cd3=TestOS%202.5%20x86_64&cd10=<time>&t=event&ec=OS&ea=TestOS%202.5%20x86_64",
        Prefix + "&cd10=<time>&t=event&ec=LogicalCores&ea=12",
        Prefix + "&cd10=<time>&t=event&ec=PhysicalMemoryMB&ea=16384",
        Prefix + "&cd10=<time>&t=event&ec=ScreenResolution&ea=2560%20x%201440",
    };
    EXPECT_EQ(hitsBeforeSentinel(&manager), expected);
    EXPECT_EQ(store.GetString("Usage/OS", ""), facts.system);
    EXPECT_EQ(store.GetUInt("Usage/TotalPhysicalMemoryMB", 0), 16384u);

    AnalyticsManager again(product());
    EXPECT_EQ(hitsBeforeSentinel(&again), std::vector<std::string>{}) << "nothing changed since";
}

TEST_F(AnalyticsTest, AChangeOfOnlyTheScreenHeightPostsOneResolutionWithBothFigures)
{
    storeFacts();
    store.SetUInt("Usage/ScreenHeight", 1080);
    AnalyticsManager manager(product());
    EXPECT_EQ(hitsBeforeSentinel(&manager),
              std::vector<std::string>{Prefix + "&cd10=<time>&t=event&ec=ScreenResolution&ea=2560%20x%201440"});
    EXPECT_EQ(store.GetUInt("Usage/ScreenHeight", 0), 1440u);
}

TEST_F(AnalyticsTest, OpeningTheEditorTwiceOnOneDayReportsFrequencyAndHostOnce)
{
    storeFacts();
    AnalyticsManager manager(product());
    manager.editorOpened("Test Host 11.3", "Stereo");
    manager.editorOpened("Test Host 11.3", "Stereo");
    const std::string channels = Prefix + "&cd10=<time>&t=event&ec=Channel%20Config&ea=Stereo";
    const std::vector<std::string> expected = {
        Prefix + "&cd10=<time>&t=event&ec=Use%20Frequency&ea=TW%206%20Relay%20%28Days%29&ev=1",
        Prefix + "&cd4=Test%20Host%2011.3&cd10=<time>&t=event&ec=Plugin%20Host&ea=Test%20Host%2011.3",
        channels,
        channels,
    };
    EXPECT_EQ(hitsBeforeSentinel(&manager), expected);
    const uint32_t stored = store.GetUInt(AnalyticsManager::DayLastOpenedKey, 0);
    EXPECT_GE(stored, AnalyticsManager::today() - 1) << "the day of the opening is kept";
    EXPECT_LE(stored, AnalyticsManager::today());
}

TEST_F(AnalyticsTest, AfterThreeDaysWithoutUseTheFrequencyCarriesThree)
{
    storeFacts();
    const uint32_t before = AnalyticsManager::today();
    store.SetUInt(AnalyticsManager::DayLastOpenedKey, before - 3);
    AnalyticsManager manager(product());
    manager.editorOpened("Test Host 11.3", "Stereo");
    const auto hits = hitsBeforeSentinel(&manager);
    ASSERT_EQ(hits.size(), 3u);
    // Midnight (UTC) may pass during the test: the count is the days up to the
    // day the opening stored.
    const uint32_t days = store.GetUInt(AnalyticsManager::DayLastOpenedKey, 0) - (before - 3);
    EXPECT_EQ(hits[0], Prefix + "&cd10=<time>&t=event&ec=Use%20Frequency&ea=TW%206%20Relay%20%28Days%29&ev=" +
                           std::to_string(days));
    if (AnalyticsManager::today() == before) {
        EXPECT_EQ(days, 3u);
    }
}

TEST_F(AnalyticsTest, DisabledNothingReachesTheServerButTheIdentityIsMade)
{
    store.SetBool(AnalyticsManager::EnableKey, false);
    store.RemoveValue(AnalyticsManager::ClientIdKey);
    AnalyticsManager manager(product());
    EXPECT_FALSE(manager.isEnabled());
    manager.editorOpened("Test Host 11.3", "Stereo");
    manager.post(Event::event("Test", "Dropped"), true);
    manager.post(Event::event("Test", "Queued"), false);
    manager.flush();
    EXPECT_EQ(hitsBeforeSentinel(nullptr), std::vector<std::string>{});

    const Util::String id = store.GetString(AnalyticsManager::ClientIdKey, "");
    EXPECT_EQ(id, manager.clientId());
    ASSERT_TRUE(std::regex_match(id, std::regex("[1-9][0-9]{0,9}"))) << id;
    EXPECT_LE(std::stoull(id), 2147483647ull);
    EXPECT_EQ(store.GetUInt(AnalyticsManager::DayLastOpenedKey, 0), 0u) << "a disabled manager stores nothing";
    EXPECT_EQ(AnalyticsManager(product()).clientId(), id) << "drawn once, then kept";
}

TEST_F(AnalyticsTest, AnEmptyApplicationVersionSuppressesEveryHit)
{
    auto versionless = product();
    versionless.applicationVersion = "";
    AnalyticsManager manager(versionless); // every fact differs from the (empty) store
    manager.editorOpened("Test Host 11.3", "Stereo");
    EXPECT_FALSE(manager.dispatcher().dispatch(Event::event("Test", "Any")));
    EXPECT_EQ(hitsBeforeSentinel(nullptr), std::vector<std::string>{});
}

TEST_F(AnalyticsTest, ThePosterNeverWaitsForTheServer)
{
    storeFacts();
    server.setMode("hold");
    AnalyticsManager manager(product());
    Ends ends(manager.dispatcher());
    manager.editorOpened("Test Host 11.3", "Stereo");
    // The server holds its first answer until released: returning from the
    // opening with its three hits queued behind it is the proof.
    const auto first = server.nextRequest();
    ASSERT_TRUE(first);
    EXPECT_NE(first->body.find("ec=Use%20Frequency"), std::string::npos);
    server.setMode("reply");
    server.release();
    for (size_t i = 0; i < 3; ++i) {
        const auto end = ends.at(i);
        ASSERT_TRUE(end);
        EXPECT_TRUE(end->first) << end->second;
    }
    EXPECT_EQ(hitsBeforeSentinel(&manager).size(), 2u) << "the two hits queued behind the held one";
}

TEST_F(AnalyticsTest, AFailedHitEndsItsDispatchWithFalseAndTheNextOneGoes)
{
    Platform::FakeClock clock(1000);
    GoogleAnalyticsDispatcher dispatcher(settings(), server.url());
    Ends ends(dispatcher);

    server.setMode("cut");
    ASSERT_TRUE(dispatcher.dispatch(Event::event("Test", "Cut")));
    auto end = ends.at(0);
    ASSERT_TRUE(end);
    EXPECT_EQ(*end, std::make_pair(false, Util::String("Unable to read data from the server.")));

    server.setMode("silent");
    ASSERT_TRUE(dispatcher.dispatch(Event::event("Test", "Unanswered")));
    ASSERT_TRUE(dispatcher.dispatch(Event::event("Test", "Queued")));
    ASSERT_TRUE(server.nextRequest()); // the cut one
    ASSERT_TRUE(server.nextRequest()); // the unanswered one
    server.setMode("reply");
    clock.advance(GoogleAnalyticsDispatcher::TimeoutMs);
    end = ends.at(1);
    ASSERT_TRUE(end);
    EXPECT_EQ(*end, std::make_pair(false, Util::String("HTTP Timeout")));
    end = ends.at(2);
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->first) << end->second;
    const auto queued = server.nextRequest();
    ASSERT_TRUE(queued);
    EXPECT_NE(queued->body.find("ea=Queued"), std::string::npos);
}

TEST_F(AnalyticsTest, TheInstanceReportsEditorOpeningsAndTakesTheWindowsCommands)
{
    storeFacts();
    TestWrapper wrapper;
    wrapper.hostVersion = 11.3f;
    auto creation = wrapper.creation(48000.0f, 1);
    creation.hostContext.setFormatIdentifier(11);
    std::unique_ptr<PluginCore> instance(PluginFactoryImpl::product().createPlugin(creation));
    auto& plugin = static_cast<Plugin&>(*instance);
    PluginEditor::OpenRequest open;
    open.width = 470;
    open.height = 276;
    ASSERT_EQ(plugin.openEditor(open), 0);

    const std::string prefix = "v=1&tid=UA-4412275-6&cid=1234567&uid=1234567&an=TW%206%20Relay&av=6.10.2340&cd1=VST3";
    const std::vector<std::string> opening = {
        prefix + "&cd10=<time>&t=event&ec=Use%20Frequency&ea=TW%206%20Relay%20%28Days%29&ev=1",
        prefix + "&cd4=Test%20Host%2011.3&cd10=<time>&t=event&ec=Plugin%20Host&ea=Test%20Host%2011.3",
        prefix + "&cd10=<time>&t=event&ec=Channel%20Config&ea=Stereo",
    };
    auto* manager = dynamic_cast<AnalyticsManager*>(plugin.usageReporter());
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(hitsBeforeSentinel(manager), opening);

    auto& commands = static_cast<UI::PluginEditorWindow&>(*plugin.editor()).window()->canvas().commands();
    EXPECT_TRUE(commands.invoke(Command::PostEventCommand(Event::event("Help", "Now"), true)));
    EXPECT_TRUE(commands.invoke(Command::PostEventCommand(Event::event("Help", "Later"), false)));
    const std::string now = prefix + "&cd10=<time>&t=event&ec=Help&ea=Now";
    EXPECT_EQ(hitsBeforeSentinel(manager), std::vector<std::string>{now}) << "the queued one waits";
    EXPECT_EQ(plugin.deactivate(), 0);
    EXPECT_EQ(hitsBeforeSentinel(manager), std::vector<std::string>{prefix + "&cd10=<time>&t=event&ec=Help&ea=Later"});

    EXPECT_TRUE(commands.invoke(Command::EnableAnalyticsCommand(false)));
    EXPECT_TRUE(commands.invoke(Command::PostEventCommand(Event::event("Help", "Dropped"), true)));
    EXPECT_EQ(hitsBeforeSentinel(nullptr), std::vector<std::string>{});
    EXPECT_TRUE(store.GetBool(AnalyticsManager::EnableKey, false)) << "the command changes nothing stored";
}
