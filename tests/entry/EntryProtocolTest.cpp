#include <gtest/gtest.h>

#include "LoadedPlugin.h"
#include "support/TestEnvironment.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <future>
#include <set>
#include <thread>

namespace {

class EntryProtocol : public ::testing::Test {
protected:
    LoadedPlugin plugin;
};

std::set<std::string> exportedSymbols(const char* library)
{
    const std::string command = std::string("nm -D --defined-only --format=posix ") + library;
    std::set<std::string> names;
    FILE* pipe = popen(command.c_str(), "r");
    char line[1024];
    while (pipe && fgets(line, sizeof line, pipe)) {
        std::string s(line);
        names.insert(s.substr(0, s.find(' ')));
    }
    if (pipe)
        pclose(pipe);
    return names;
}

} // namespace

TEST(PluginLibrary, ExportsOnlyTheEntryPoints)
{
    const std::set<std::string> entryPoints = {
        "PluginCoreCallback",        "RWDEFOpenDevice",          "RWDEFCloseDevice",
        "RWDEFIsCloseOK",            "RWDEFGetDeviceInfo",       "RWDEFGetDeviceNameAndVersion",
        "RWDEFGetDeviceSignature",   "RWDEFSetAudioInfo",        "RWDEFDriveAudio",
        "RWDEFIdle",                 "RWDEFIsPanelAppLaunched",  "RWDEFLaunchPanelApp",
        "RWDEFQuitPanelApp",         "RWDEFGetEventInfo",        "RWDEFGetEventBusInfo",
        "RWDEFGetEventChannelInfo",  "RWDEFGetEventControllerInfo", "RWDEFGetEventNoteInfo",
    };
    EXPECT_EQ(exportedSymbols(RELAY_PLUGIN_PATH), entryPoints);
}

TEST_F(EntryProtocol, ChecksRunInTheStatedOrder)
{
    Wrapper w(plugin);
    w.create();
    uint32_t word = 0;
    struct Case {
        int32_t protocol;
        uint32_t selector;
        uint32_t lock;
        void* instance;
        void* record;
        int32_t expected;
    };
    const Case cases[] = {
        {1078, 22, 0, w.instance, &word, 1},  // protocol first, with a valid selector
        {1078, 99, 9, nullptr, nullptr, 1},   // ... and before everything else
        {1079, 41, 0, w.instance, &word, 3},
        {1079, 41, 9, nullptr, nullptr, 3},   // selector before instance and lock
        {1079, 5, 0, nullptr, nullptr, 4},
        {1079, 40, 9, nullptr, nullptr, 4},   // instance before record and lock
        {1079, 40, 0, w.instance, nullptr, 5},
        {1079, 40, 9, w.instance, nullptr, 5}, // record before lock
        {1079, 22, 1, w.instance, &word, 2},
        {1079, 28, 0, w.instance, &word, 2},
        {1079, 0, 0, nullptr, nullptr, 5},
        {1079, 1, 0, nullptr, nullptr, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plugin(c.selector, c.lock, c.instance, c.record, c.protocol), c.expected)
            << "protocol " << c.protocol << " selector " << c.selector << " lock " << c.lock;
}

TEST_F(EntryProtocol, LockIndicesAcceptedAndRefusedPerSelector)
{
    Wrapper w(plugin);
    w.create();
    // Expected status for lock index 0, 1 and 2 (a refused index gives 2). The
    // product has no automatable parameter and one element parameter ("Shuttle
    // State"): a count of 0 does not match it, index 0 names it.
    struct Row {
        uint32_t selector;
        std::array<int32_t, 3> expected;
    };
    const Row rows[] = {
        {2, {0, 0, 2}},  {3, {0, 0, 2}},  {4, {0, 0, 2}},  {5, {0, 0, 2}},  {6, {0, 0, 2}},
        {8, {0, 0, 2}},  {9, {0, 0, 2}},  {10, {6, 6, 2}}, {11, {6, 6, 2}}, {12, {0, 0, 2}},
        {13, {6, 6, 2}}, {14, {0, 0, 2}}, {15, {0, 0, 2}}, {16, {0, 0, 2}}, {17, {0, 0, 2}},
        {18, {0, 0, 2}}, {19, {0, 0, 2}}, {20, {0, 0, 2}}, {21, {0, 2, 2}}, {22, {0, 2, 2}},
        {23, {0, 2, 2}}, {24, {0, 0, 0}}, {25, {0, 0, 0}}, {26, {0, 0, 0}}, {27, {0, 0, 0}},
        {28, {2, 0, 2}}, {29, {2, 0, 2}}, {30, {2, 0, 2}}, {31, {2, 0, 2}}, {32, {2, 0, 2}},
        {33, {0, 0, 2}}, {34, {0, 0, 2}}, {35, {6, 6, 2}}, {36, {6, 6, 2}}, {37, {0, 0, 2}},
        {38, {0, 0, 2}}, {39, {0, 0, 0}}, {40, {0, 0, 2}},
    };
    uint32_t status = 0, constant = 0, count = 0;
    uint64_t valueA = 0, valueB = 0;
    for (const auto& row : rows) {
        for (uint32_t lock = 0; lock < 3; ++lock) {
            Bytes record(1024);
            if (row.selector == 2) {
                record.putPointer(0, &status);
                record.putPointer(8, &constant);
                record.putPointer(16, &count);
                record.putPointer(32, &valueA);
                record.putPointer(40, &valueB);
            }
            if (row.selector == 17) {
                record.put<float>(0, 48000.0f);
                record.put<uint32_t>(4, 1);
            }
            if (row.selector == 28)
                record.put<uint32_t>(0, 2); // an accepted code without an effect
            if (row.selector == 40)
                record.put<uint32_t>(0, 0x8070A002u);
            EXPECT_EQ(plugin(row.selector, lock, w.instance, *record), row.expected[lock])
                << "selector " << row.selector << " lock " << lock;
        }
    }
    EXPECT_EQ(constant, 200u);
}

TEST_F(EntryProtocol, TheNamedSectionIsHeldForTheWholeCall)
{
    Wrapper w(plugin);
    w.create();
    // While activation (lock 1) waits in reverse call 18, another thread's call
    // with lock 1 must wait too, and one with lock 0 must not.
    struct Observed {
        bool sameIndexWaited = false;
        bool otherIndexRan = false;
    } observed;
    w.context = &observed;
    w.during = [](Wrapper& self, uint32_t selector) {
        if (selector != 18)
            return;
        auto& o = *static_cast<Observed*>(self.context);
        auto same = std::async(std::launch::async, [&] { return self.plugin(3, 1, self.instance, nullptr); });
        auto other = std::async(std::launch::async, [&] { return self.plugin(4, 0, self.instance, nullptr); });
        o.otherIndexRan = other.get() == 0;
        o.sameIndexWaited = same.wait_for(std::chrono::milliseconds(200)) == std::future_status::timeout;
        self.context = new std::future<int32_t>(std::move(same)); // finishes after we return
    };
    EXPECT_EQ(plugin(5, 1, w.instance, nullptr), 0);
    auto* pending = static_cast<std::future<int32_t>*>(w.context);
    EXPECT_EQ(pending->get(), 0);
    delete pending;
    EXPECT_TRUE(observed.sameIndexWaited);
    EXPECT_TRUE(observed.otherIndexRan);
}

TEST_F(EntryProtocol, CreationRecordIsReadAtItsOffsets)
{
    Wrapper w(plugin);
    w.create(44100.0f, 8, std::string(3000, 'x')); // a name longer than its field is cut
    // A 5.1 instance processes six channels: the configuration code was read at 3108.
    std::vector<std::vector<float>> samples(6, std::vector<float>(64, 0.25f));
    std::vector<float*> channels;
    for (auto& s : samples)
        channels.push_back(s.data());
    Bytes block(360);
    block.put<uint64_t>(0, 64);
    block.putPointer(8, channels.data());
    EXPECT_EQ(plugin(22, 0, w.instance, *block), 0);
    for (const auto& s : samples)
        EXPECT_EQ(s[63], 0.25f);
    // Reverse call 13 (host name) was asked once at creation, activation asks 18.
    EXPECT_EQ(plugin(5, 0, w.instance, nullptr), 0);
    EXPECT_EQ(std::count(w.reverseSelectors.begin(), w.reverseSelectors.end(), 13u), 1);
    EXPECT_EQ(std::count(w.reverseSelectors.begin(), w.reverseSelectors.end(), 18u), 1);
}

TEST_F(EntryProtocol, InformationRecordMatchesTheProductByteForByte)
{
    // The expected record is built here from the product's figures, field by field.
    Bytes expected(7764, 0xEE);
    auto text = [&](size_t offset, size_t size, const std::string& t) {
        std::memset(*expected + offset, 0, size);
        std::memcpy(*expected + offset, t.data(), std::min(t.size(), size - 1));
    };
    auto fourcc = [&](size_t offset, const char* c) {
        expected.put<uint32_t>(offset, uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 |
                                           uint32_t(uint8_t(c[2])) << 8 | uint32_t(uint8_t(c[3])));
    };
    auto words = [&](size_t offset, std::initializer_list<uint32_t> values) {
        for (uint32_t v : values) {
            expected.put<uint32_t>(offset, v);
            offset += 4;
        }
    };
    text(0, 64, "Quillex");
    text(64, 256, "Quillex, Inc.");
    text(320, 256, "com.quillex.tw.plugins");
    text(576, 64, "VO6Relay");
    text(640, 64, "TW 6 Relay");
    text(704, 256, "TW 6 Relay");
    text(960, 64, "6.10");
    words(1024, {6100, 2340, 4412275, 1});
    words(1040, {1, 0, 0, 0, 0, 0, 0});                                  // A1..A7
    words(1068, {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0});    // B1..B17 (flag 0)
    words(1140, {1, 1, 470, 276});
    text(1156, 1024, "");
    words(2180, {0});
    text(2184, 64, "VO6Relay");
    fourcc(2300, "Vu6R");
    words(2304, {1024});
    text(2308, 1024, "Quillex, Inc.\nQuillex Inc\nQuillex\nQlex\nQx");
    fourcc(3332, "Qlex");
    text(3336, 1024, "TW 6 Relay\nVO6Relay\nVO6Rlay\nRe");
    text(4360, 1024, "");
    fourcc(6408, "R6I0");
    words(6412, {128, 1, 1, 0, 1, 0, 0, 0, 1, 0, 1}); // F1..F11; this process is no host 1 or 2
    words(6456, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    words(6496, {0, 0, 0, 0, 0, 0, 0});
    text(6524, 64, "SEND");
    text(6588, 64, "VO6RELAY");
    fourcc(6652, "aufx");
    fourcc(6656, "Qlex");
    fourcc(6660, "Vu6R");
    text(6664, 64, "TW 6 Relay");
    fourcc(6728, "Qlex");
    fourcc(6732, "Vu6R");
    words(6736, {0});
    text(6740, 1024, "");

    Bytes reply(7764, 0xEE);
    Bytes request(1040);
    request.putPointer(1032, *reply);
    ASSERT_EQ(plugin(0, 0, nullptr, *request), 0);
    for (size_t i = 0; i < reply.data.size(); ++i)
        ASSERT_EQ(reply.data[i], expected.data[i]) << "first difference at byte " << i;
}

TEST_F(EntryProtocol, EditorOperationsWithoutAnEditor)
{
    Wrapper w(plugin);
    w.create();
    const std::pair<uint32_t, uint32_t> sizes[] = {{0, 0}, {470, 276}, {1920, 1080}, {100, 5000}, {0xFFFFFFFF, 1}};
    for (const auto& [width, height] : sizes) {
        Bytes record(128);
        record.put<uint32_t>(0, 10);
        record.put<uint32_t>(24, width);
        record.put<uint32_t>(28, height);
        EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
        EXPECT_EQ(record.get<uint32_t>(24), 470u) << width;
        EXPECT_EQ(record.get<uint32_t>(28), 276u) << height;
    }
    Bytes record(128, 0x55);
    record.put<uint32_t>(0, 12);
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 6);
    record.put<uint32_t>(0, 5); // idle without an editor answers 1
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
    EXPECT_EQ(record.get<uint32_t>(60), 1u);
    record.put<uint32_t>(0, 6);
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
    EXPECT_EQ(record.get<uint64_t>(64), 0u);
    record.put<uint32_t>(0, 11);
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
    EXPECT_EQ(record.get<uint32_t>(32), 0u);
    EXPECT_EQ(record.get<uint32_t>(60), 1u);

    Bytes property(16);
    property.put<uint32_t>(0, 0x800523BCu); // text for the editor: none is open
    EXPECT_EQ(plugin(40, 1, w.instance, *property), 7);
    property.put<uint32_t>(0, 0x12345678u); // nobody takes it
    EXPECT_EQ(plugin(40, 1, w.instance, *property), 6);
}

TEST_F(EntryProtocol, SettingsAddressOnlyElementsAndItemsBelowTheElementCount)
{
    Wrapper w(plugin);
    w.create();
    Bytes ask(328, 0xEE);
    ask.put<uint32_t>(0, 0);
    ASSERT_EQ(plugin(37, 0, w.instance, *ask), 0);
    const uint32_t count = ask.get<uint32_t>(4);
    ASSERT_GT(count, 1u);
    struct Case {
        uint32_t element, item;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 0, 0},          {count - 1, count - 1, 0}, {0, count, 6},
        {0, 999999, 6},     {count, 0, 6},             {0xFFFFFFFF, 0, 6},
    };
    for (const auto& c : cases) {
        Bytes record(328);
        record.put<uint32_t>(0, 1);
        record.put<uint32_t>(4, c.element);
        record.put<uint32_t>(8, c.item);
        EXPECT_EQ(plugin(37, 1, w.instance, *record), c.expected) << "element " << c.element << " item " << c.item;
    }
}

TEST_F(EntryProtocol, DescribingWithAWrongCountFillsNothing)
{
    Wrapper w(plugin);
    w.create();
    std::vector<uint8_t> infos(4392 * 2, 0xCD);
    Bytes record(16);
    record.put<uint32_t>(0, 2);
    record.putPointer(8, infos.data());
    EXPECT_EQ(plugin(9, 0, w.instance, *record), 6);
    EXPECT_EQ(plugin(13, 0, w.instance, *record), 6);
    EXPECT_TRUE(std::all_of(infos.begin(), infos.end(), [](uint8_t b) { return b == 0xCD; }));
}

TEST_F(EntryProtocol, PassThroughBlocksAllocateNothingAfterTheFirst)
{
    Wrapper w(plugin);
    w.create();
    plugin(5, 0, w.instance, nullptr);
    std::vector<std::vector<float>> samples(2, std::vector<float>(512));
    for (size_t i = 0; i < 512; ++i) {
        samples[0][i] = float(i) / 512.0f;
        samples[1][i] = -float(i) / 512.0f;
    }
    const auto original = samples;
    float* channels[2] = {samples[0].data(), samples[1].data()};
    Bytes transport(136);
    transport.put<uint32_t>(32, 1);
    Bytes block(360);
    block.put<uint64_t>(0, 512);
    block.putPointer(8, channels);
    block.putPointer(16, *transport);
    block.put<uint32_t>(352, 1);
    ASSERT_EQ(plugin(22, 0, w.instance, *block), 0);
    const auto before = TestSupport::threadAllocationCount();
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(plugin(22, 0, w.instance, *block), 0);
    EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u);
    EXPECT_EQ(samples, original);
}

TEST_F(EntryProtocol, TheEditorOpensIdlesTakesEventsAndCloses)
{
    Wrapper w(plugin);
    w.create();
    Bytes record(128);
    record.put<uint32_t>(0, 0); // open, without a parent window: off screen
    record.put<uint32_t>(16, 470);
    record.put<uint32_t>(20, 276);
    ASSERT_EQ(plugin(28, 1, w.instance, *record), 0);
    record.put<uint32_t>(0, 5);
    record.put<uint32_t>(60, 77);
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
    EXPECT_NE(record.get<uint32_t>(60), 77u); // the open editor answered its idle
    EXPECT_EQ(plugin(39, 1, w.instance, nullptr), 0); // the idle service drives the window too

    Bytes event(32);
    event.put<uint32_t>(0, 0); // a pointer move over the window
    event.put<uint32_t>(4, 10);
    event.put<uint32_t>(8, 10);
    EXPECT_EQ(plugin(29, 1, w.instance, *event), 0);

    Bytes property(16);
    const char text[] = "hello";
    property.put<uint32_t>(0, 0x800523BCu);
    property.put<uint32_t>(4, 5);
    property.putPointer(8, text);
    EXPECT_EQ(plugin(40, 1, w.instance, *property), 0); // an open editor takes the text

    record.put<uint32_t>(0, 1);
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
    record.put<uint32_t>(0, 6);
    record.put<uint64_t>(64, 99);
    EXPECT_EQ(plugin(28, 1, w.instance, *record), 0);
    EXPECT_EQ(record.get<uint64_t>(64), 0u); // closed: no window handle
    EXPECT_EQ(plugin(40, 1, w.instance, *property), 7);
}
