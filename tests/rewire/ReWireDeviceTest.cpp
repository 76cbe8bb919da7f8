// The device's inner rules, on its classes directly: what drive audio keeps
// of the transport, idle's one-second rule on a fake clock, the device lock
// held by another thread, and the engine's platform check.
#include <gtest/gtest.h>

#include "EngineFolder.h"
#include "rewire/EngineLibrary.h"
#include "rewire/ReWireDevice.h"
#include "support/FakeClock.h"
#include "support/FakeSystemFacts.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <vector>

namespace {

using ReWire::EngineLibrary;
using ReWire::ReWireDevice;
using TestSupport::EngineControl;
using TestSupport::EngineFolder;

constexpr size_t DriveRecordSize = 2200;

struct Record {
    std::vector<uint8_t> bytes;
    explicit Record(size_t size) : bytes(size, 0) {}
    Record& put(size_t offset, uint32_t value)
    {
        std::memcpy(bytes.data() + offset, &value, 4);
        return *this;
    }
    uint8_t* data() { return bytes.data(); }
};

Record openRecord() { return std::move(Record(64).put(8, 48000).put(12, 512)); }

// Reads of one port's waiting message made by `call`.
template <typename Call>
long readsOfPort(EngineControl& engine, int32_t port, Call&& call)
{
    engine.setBytesAvailable(port, 100);
    const int32_t from = engine.callCount();
    call();
    const auto calls = engine.calls(from);
    return std::count_if(calls.begin(), calls.end(), [port](const TestEngineCall& c) {
        return c.function == TestEngineRead && c.arguments[1] == port;
    });
}

// A device opened over the test engine, with a fake clock.
class OpenDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto record = openRecord();
        ASSERT_EQ(device.open(record.data()), 1);
    }
    void TearDown() override { device.close(); }

    Platform::FakeClock clock{1000};
    EngineFolder folder;
    EngineControl engine{folder.install(RELAY_TEST_ENGINE)};
    EngineLibrary library;
    ReWireDevice device{library, ""};
    Record input{DriveRecordSize};
    Record output{DriveRecordSize};
};

} // namespace

TEST(ReWireDevice, DriveAudioKeepsTheTransportAndThePositionInSamples)
{
    EngineFolder emptyFolder;
    EngineLibrary library;
    ReWireDevice device(library, "");
    auto record = openRecord();
    EXPECT_EQ(device.open(record.data()), 100) << "no engine installed";
    EXPECT_EQ(device.transport().sampleRate, 48000u) << "kept from the open record all the same";
    EXPECT_EQ(device.transport().audioValue, 512u);

    Record input(DriveRecordSize);
    input.put(2128, 11).put(2132, 22).put(2136, 33).put(2140, 44).put(2144, 7).put(2124, 0).put(2112, 61440);
    device.driveAudio(input.data(), nullptr);
    const auto& transport = device.transport();
    EXPECT_EQ(transport.words, (std::array<std::optional<uint32_t>, 4>{11u, 22u, 33u, 44u}));
    EXPECT_EQ(transport.flag, true);
    EXPECT_EQ(transport.tempo, 0u);
    EXPECT_FALSE(transport.samplePosition) << "no tempo, no position";

    const struct {
        int32_t songPosition; // 1/15360 beats
        uint32_t tempo;       // thousandths of beats per minute
        uint32_t sampleRate;
        float samples;
    } cases[] = {
        {61440, 120000, 48000, 96000.0f},    // 4 beats at 2 beats a second
        {23040, 60000, 96000, 144000.0f},    // 1.5 beats at 1 a second
        {-15360, 90000, 44100, -29400.0f},   // a beat before the start at 1.5 a second
        {0, 133333, 44100, 0.0f},
    };
    for (const auto& c : cases) {
        Record info(8);
        device.setAudioInfo(info.put(4, c.sampleRate).data());
        input.put(2112, uint32_t(c.songPosition)).put(2124, c.tempo).put(2144, 0);
        device.driveAudio(input.data(), nullptr);
        ASSERT_TRUE(device.transport().samplePosition) << c.songPosition;
        EXPECT_FLOAT_EQ(*device.transport().samplePosition, c.samples) << c.songPosition;
        EXPECT_EQ(device.transport().flag, false);
    }
}

TEST_F(OpenDevice, IdleServicesTheChannelOnlyAfterMoreThanASecondWithoutDriveAudio)
{
    device.driveAudio(input.data(), output.data()); // at 1000
    const struct {
        uint32_t at;
        bool drive; // a drive-audio call at that moment, before idle
        long reads;
    } steps[] = {
        {2000, false, 0}, // exactly a second: not more
        {2001, false, 1},
        {2002, false, 1}, // idle does not count as activity
        {2500, true, 0},
        {3500, false, 0},
        {3501, false, 1},
    };
    for (const auto& step : steps) {
        clock.set(step.at);
        if (step.drive)
            device.driveAudio(input.data(), output.data());
        EXPECT_EQ(readsOfPort(engine, 2, [&] { device.idle(); }), step.reads) << step.at;
    }
}

TEST_F(OpenDevice, DriveAudioAndIdleNeverWaitWhileAnotherThreadHoldsTheDeviceLock)
{
    engine.setAnswer(TestEngineConnectionCheck, 111);
    device.idle();
    ASSERT_EQ(device.connectionState(), ReWireDevice::Connected);

    std::promise<void> held, done;
    auto holder = std::async(std::launch::async, [&] {
        Platform::ScopedLock lock(device.deviceLock());
        held.set_value();
        done.get_future().wait();
    });
    held.get_future().wait();
    long reads = -1;
    auto calls = std::async(std::launch::async, [&] {
        reads = readsOfPort(engine, 1, [&] {
            device.driveAudio(input.data(), output.data());
            clock.advance(5000);
            device.idle();
        });
    });
    // A bound that only a call waiting for the lock exceeds; the lock is given
    // back either way so that the test ends.
    const bool returned = calls.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    done.set_value();
    holder.get();
    calls.get();
    ASSERT_TRUE(returned) << "drive audio or idle waited for the device lock";
    EXPECT_EQ(reads, 0) << "the locked part is left for a later call";
    EXPECT_EQ(readsOfPort(engine, 1, [&] { device.driveAudio(input.data(), output.data()); }), 1)
        << "with the lock free, drive audio takes the message";
}

TEST(EngineLibrary, OpensOnSupportedPlatformsOnlyAndBindsOnce)
{
    using Family = Platform::SystemFacts::Version::Family;
    using Version = Platform::SystemFacts::Version;
    FakeSystemFacts facts;
    EngineFolder folder;
    EngineControl engine(folder.install(RELAY_TEST_ENGINE));
    const struct {
        std::optional<Version> version;
        int32_t code;
    } cases[] = {
        {std::nullopt, 109},
        {Version{Family::Windows9x, 4, 0}, 109},
        {Version{Family::Windows9x, 4, 10}, 1},
        {Version{Family::WindowsNT, 3, 51}, 109},
        {Version{Family::WindowsNT, 4, 0}, 1},
        {Version{Family::Posix, 0, 0}, 1},
    };
    for (const auto& c : cases) {
        facts.systemVersion = c.version;
        EngineLibrary library;
        EXPECT_EQ(library.load(), c.code);
        if (c.code != 1)
            continue;
        EXPECT_EQ(library.load(), 6) << "the engine is bound already";
        library.unload();
        EXPECT_EQ(library.load(), 1) << "unloading lets it bind again";
        library.unload();
    }
}
