// The device as a mixer sees it: only through the plug-in library's RWDEF
// exports, with the test engine installed in a private common program files
// folder.
#include <gtest/gtest.h>

#include "EngineFolder.h"
#include "MixerSide.h"
#include "support/TestEnvironment.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using TestSupport::EngineControl;
using TestSupport::EngineFolder;
using TestSupport::isLoaded;

constexpr size_t DeviceInfoSize = 8288;
constexpr size_t DriveRecordSize = 2200;
constexpr int32_t PanelConnected = 111;
constexpr int32_t PanelNotConnected = 110;

struct Record {
    std::vector<uint8_t> bytes;
    explicit Record(size_t size, uint8_t fill = 0xA5) : bytes(size, fill) {}
    void put(size_t offset, uint32_t value) { std::memcpy(bytes.data() + offset, &value, 4); }
    uint8_t* data() { return bytes.data(); }
};

Record openRecord(uint32_t sampleRate = 48000)
{
    Record record(64, 0);
    record.put(8, sampleRate);
    record.put(12, 512);
    return record;
}

MixerSide& mixer()
{
    static MixerSide loaded;
    return loaded;
}

int32_t open(uint32_t sampleRate = 48000)
{
    auto record = openRecord(sampleRate);
    return mixer().openDevice(record.data());
}

class ReWireExports : public ::testing::Test {
protected:
    void TearDown() override { mixer().closeDevice(nullptr); }

    // Opens with a good engine installed as ReWire.so and held for its controls.
    EngineControl& openWithEngine()
    {
        engine = std::make_unique<EngineControl>(folder.install(RELAY_TEST_ENGINE));
        EXPECT_EQ(open(), 1);
        return *engine;
    }

    // Every export that takes records of the mixer's; true when no byte of
    // them changed.
    static bool recordsStayAsPassed()
    {
        Record info(DeviceInfoSize), target(16, 0x5A), audio(64), input(DriveRecordSize, 0), output(DriveRecordSize);
        const Record before[] = {info, target, audio, input, output};
        mixer().getEventInfo(info.data());
        mixer().getEventBusInfo(3, info.data());
        mixer().getEventChannelInfo(target.data(), info.data());
        mixer().getEventControllerInfo(3, 7, info.data());
        mixer().getEventNoteInfo(3, 60, info.data());
        mixer().setAudioInfo(audio.data());
        mixer().driveAudio(input.data(), output.data());
        const Record after[] = {info, target, audio, input, output};
        return std::equal(std::begin(before), std::end(before), std::begin(after),
                          [](const Record& a, const Record& b) { return a.bytes == b.bytes; });
    }

    EngineFolder folder;
    std::unique_ptr<EngineControl> engine;
};

} // namespace

TEST_F(ReWireExports, WithoutADeviceEachAnswersAsForAClosedOne)
{
    mixer().closeDevice(nullptr);
    mixer().idle();
    EXPECT_EQ(mixer().isCloseOK(), 1);
    EXPECT_EQ(mixer().isPanelAppLaunched(), 0);
    EXPECT_EQ(mixer().launchPanelApp(), 202);
    EXPECT_EQ(mixer().quitPanelApp(), 1);
    EXPECT_TRUE(recordsStayAsPassed());
}

TEST_F(ReWireExports, EventInformationLeavesTheRecordsOfAnOpenDeviceByteIdentical)
{
    openWithEngine();
    EXPECT_TRUE(recordsStayAsPassed());
}

TEST_F(ReWireExports, TheDescriptionRecordByteForByteWithOrWithoutADevice)
{
    Record expected(DeviceInfoSize + 16);
    std::fill(expected.bytes.begin() + 4, expected.bytes.begin() + 36, 0); // empty name, its field cleared
    expected.put(36, 0);                                                    // no channels: no name slot written
    std::fill(expected.bytes.begin() + 8232, expected.bytes.begin() + 8280, 0); // both channel bit sets
    expected.put(8280, 2);
    expected.put(8284, 1000000);
    for (const bool withDevice : {false, true}) {
        if (withDevice)
            openWithEngine();
        Record record(DeviceInfoSize + 16);
        mixer().getDeviceInfo(record.data());
        EXPECT_EQ(record.bytes, expected.bytes) << (withDevice ? "open" : "closed");
    }

    uint32_t version = 0;
    char name[32], signature[32];
    std::memset(name, 'x', sizeof name);
    std::memset(signature, 'x', sizeof signature);
    mixer().getDeviceNameAndVersion(&version, name);
    mixer().getDeviceSignature(signature);
    EXPECT_EQ(version, 1000000u);
    EXPECT_EQ(std::string(name, sizeof name), std::string(1, '\0') + std::string(31, 'x'));
    EXPECT_EQ(std::string(signature, sizeof signature), std::string(1, '\0') + std::string(31, 'x'));
}

TEST_F(ReWireExports, OpenBindsTheEngineAndMakesTheChannelOnceUntilClosed)
{
    EngineControl& e = openWithEngine();
    const auto calls = e.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].function, TestEngineOpen);
    EXPECT_EQ(calls[0].arguments[0], 1000000);
    EXPECT_EQ(calls[1].function, TestEngineChannelCreate);
    EXPECT_STREQ(calls[1].signature, "") << "the product's signature is empty";
    EXPECT_EQ(calls[1].arguments[0], 2);
    EXPECT_EQ(calls[1].arguments[1], 8);
    for (const auto& port : calls[1].ports) {
        EXPECT_EQ(port.type, 12);
        EXPECT_EQ(port.sendBufferSize, 8192);
        EXPECT_EQ(port.receiveBufferSize, 8192);
    }

    const int32_t beforeSecondOpen = e.callCount();
    EXPECT_EQ(open(44100), 4);
    EXPECT_EQ(e.callCount(), beforeSecondOpen) << "a second open touches nothing";
    EXPECT_EQ(mixer().launchPanelApp(), 1) << "the first device is still there";
    for (const int32_t panel : {PanelNotConnected, PanelConnected}) {
        e.setAnswer(TestEngineConnectionCheck, panel);
        EXPECT_EQ(mixer().quitPanelApp(), 666) << panel;
    }

    const int32_t beforeClose = e.callCount();
    mixer().closeDevice(nullptr);
    EXPECT_EQ(e.functions(beforeClose), (std::vector<int32_t>{TestEngineChannelDestroy, TestEngineClose}));
    EXPECT_EQ(mixer().quitPanelApp(), 1);
    EXPECT_EQ(mixer().launchPanelApp(), 202);
    EXPECT_EQ(open(), 1) << "a closed device opens again";
}

TEST_F(ReWireExports, EachOpenFailureAnswersItsCodeAndKeepsNoDevice)
{
    const std::string engineFile = "/Propellerhead Software/ReWire/ReWire.so";
    // A common folder whose engine path is `length` characters long.
    auto rootOfPathLength = [&](size_t length) {
        std::string root = TestSupport::makeTempFolder("long-");
        root += "/" + std::string(length - root.size() - 1 - engineFile.size(), 'd');
        return root;
    };
    struct Case {
        const char* what;
        std::function<std::unique_ptr<EngineControl>(EngineFolder&)> install; // returns the engine when held
        std::string root;
        int32_t code;
        std::vector<int32_t> engineCalls;
    };
    const auto installed = [](const char* built) {
        return [built](EngineFolder& f) {
            f.install(built);
            return std::unique_ptr<EngineControl>();
        };
    };
    const auto answering = [](TestEngineFunction function, int32_t answer) {
        return [function, answer](EngineFolder& f) {
            auto control = std::make_unique<EngineControl>(f.install(RELAY_TEST_ENGINE));
            control->setAnswer(function, answer);
            return control;
        };
    };
    const Case cases[] = {
        {"no engine installed", [](EngineFolder&) { return std::unique_ptr<EngineControl>(); }, {}, 100, {}},
        {"version 1.7", installed(RELAY_TEST_ENGINE_OLD), {}, 101, {}},
        {"version 2.9", installed(RELAY_TEST_ENGINE_NEXT_MAJOR), {}, 101, {}},
        {"no version", installed(RELAY_TEST_ENGINE_UNVERSIONED), {}, 101, {}},
        {"a function missing", installed(RELAY_TEST_ENGINE_INCOMPLETE), {}, 101, {}},
        {"open refused", answering(TestEngineOpen, 7), {}, 7, {TestEngineOpen}},
        {"channel refused", answering(TestEngineChannelCreate, 9), {}, 9,
         {TestEngineOpen, TestEngineChannelCreate, TestEngineClose}},
        {"path of 260", installed(RELAY_TEST_ENGINE), rootOfPathLength(260), 100, {}},
        {"path of 259", installed(RELAY_TEST_ENGINE), rootOfPathLength(259), 1, {}},
    };
    for (const auto& c : cases) {
        EngineFolder caseFolder(c.root);
        const auto control = c.install(caseFolder);
        EXPECT_EQ(open(), c.code) << c.what;
        if (control) {
            EXPECT_EQ(control->functions(), c.engineCalls) << c.what;
        } else if (c.code != 1) {
            EXPECT_FALSE(isLoaded(caseFolder.path("ReWire.so"))) << c.what << ": the engine is let go";
        }
        if (c.code != 1) {
            EXPECT_EQ(mixer().quitPanelApp(), 1) << c.what << ": no device is kept";
        }
        mixer().closeDevice(nullptr);
    }
}

TEST_F(ReWireExports, TheEngineIsLookedForUnderItsThreeNamesInOrderAndLetGoAtClose)
{
    const std::vector<std::string> names = {"ReWireDebug.so", "ReWireBeta.so", "ReWire.so"};
    for (const auto& name : names)
        folder.install(RELAY_TEST_ENGINE, name);
    for (const auto& expected : names) {
        ASSERT_EQ(open(), 1) << expected;
        for (const auto& name : names)
            EXPECT_EQ(isLoaded(folder.path(name)), name == expected) << name << " while " << expected << " is due";
        mixer().closeDevice(nullptr);
        EXPECT_FALSE(isLoaded(folder.path(expected))) << expected;
        folder.remove(expected);
    }
}

TEST_F(ReWireExports, IdleFollowsThePanelAndDriveAudioTakesMessagesOnlyWhileItIsConnected)
{
    EngineControl& e = openWithEngine();
    Record input(DriveRecordSize, 0), output(DriveRecordSize);
    // Reads of a waiting message made by one drive-audio call.
    auto readsByDriveAudio = [&] {
        e.setBytesAvailable(3, 100);
        const int32_t from = e.callCount();
        mixer().driveAudio(input.data(), output.data());
        const auto calls = e.calls(from);
        return std::count_if(calls.begin(), calls.end(), [](const TestEngineCall& call) {
            return call.function == TestEngineRead && call.arguments[1] == 3 && call.arguments[2] == 8192;
        });
    };
    struct Step {
        int32_t check;    // what the engine's connection check answers at this idle
        bool launched;    // what the mixer then hears
        long reads;       // of the next drive-audio call
    };
    const Step steps[] = {
        {PanelNotConnected, false, 0},
        {PanelConnected, true, 1},
        {5, false, 1},                 // neither answer: the state stays connected
        {PanelConnected, true, 1},
        {PanelNotConnected, false, 0},
        {5, false, 0},                 // ... and stays without a panel
    };
    EXPECT_EQ(readsByDriveAudio(), 0) << "a new device has no panel";
    for (const auto& step : steps) {
        e.setAnswer(TestEngineConnectionCheck, step.check);
        mixer().idle();
        EXPECT_EQ(mixer().isPanelAppLaunched(), step.launched ? 1 : 0) << step.check;
        EXPECT_EQ(mixer().isCloseOK(), step.launched ? 0 : 1) << step.check;
        EXPECT_EQ(readsByDriveAudio(), step.reads) << step.check;
    }
}

TEST_F(ReWireExports, DriveAudioAllocatesNothing)
{
    EngineControl& e = openWithEngine();
    Record input(DriveRecordSize, 0), output(DriveRecordSize);
    input.put(2112, 15360);
    input.put(2124, 120000);
    for (const int32_t panel : {PanelNotConnected, PanelConnected}) {
        e.setAnswer(TestEngineConnectionCheck, panel);
        mixer().idle();
        e.setBytesAvailable(0, 64);
        mixer().driveAudio(input.data(), output.data());
        const auto before = TestSupport::threadAllocationCount();
        for (int i = 0; i < 100; ++i) {
            e.setBytesAvailable(0, 64);
            mixer().driveAudio(input.data(), output.data());
        }
        EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u) << panel;
    }
}
