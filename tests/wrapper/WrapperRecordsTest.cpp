#include <gtest/gtest.h>

#include "wrapper/HostCallbacks.h"
#include "wrapper/PluginInstance.h"

#include <cstring>
#include <string>
#include <vector>

// The offsets below are this test's own reading of the entry protocol, kept
// apart from the boundary header that the wrapper side writes through.

namespace {

template <typename T>
T at(const std::vector<uint8_t>& bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string textAt(const std::vector<uint8_t>& bytes, size_t offset) { return reinterpret_cast<const char*>(bytes.data() + offset); }

// An entry that keeps a copy of every record it is handed (sized by selector)
// and answers creation with a made-up instance.
struct RecordingEntry {
    struct Call {
        uint32_t selector;
        uint32_t lockIndex;
        void* instance;
        std::vector<uint8_t> record;
        std::vector<uint8_t> transport; // the transport record of a block
    };
    static inline std::vector<Call> calls;
    static inline int madeUpInstance = 0;

    static size_t recordSize(uint32_t selector)
    {
        switch (selector) {
        case 1: return 3120;
        case 17: return 8;
        case 18: return 4;
        case 20: return 8;
        case 22: return 360;
        case 40: return 16;
        default: return 0;
        }
    }

    static int32_t entry(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record)
    {
        EXPECT_EQ(protocol, 1079);
        Call call{selector, lockIndex, instance, {}, {}};
        if (record)
            call.record.assign(static_cast<uint8_t*>(record), static_cast<uint8_t*>(record) + recordSize(selector));
        if (selector == 1) {
            void** result = nullptr;
            std::memcpy(&result, static_cast<uint8_t*>(record) + 3096, 8);
            *result = &madeUpInstance;
        }
        if (selector == 18) // the word the lock index picks: 0 answers 128, 1 answers 7
            *static_cast<uint32_t*>(record) = lockIndex == 0 ? 128u : 7u;
        if (selector == 22) {
            const uint8_t* transport = nullptr;
            std::memcpy(&transport, static_cast<uint8_t*>(record) + 16, 8);
            call.transport.assign(transport, transport + 136);
        }
        calls.push_back(std::move(call));
        return 0;
    }
};

class WrapperRecords : public ::testing::Test {
protected:
    void SetUp() override { RecordingEntry::calls.clear(); }

    Wrapper::HostDescription pretendHost()
    {
        Wrapper::HostDescription host;
        host.name = "Pro Tools";
        host.version = "11.3.1";
        host.formatIdentifier = 7;
        return host;
    }
};

} // namespace

TEST_F(WrapperRecords, TheCreationRecordCarriesEveryFigureAtItsOffset)
{
    Wrapper::HostCallbacks host(pretendHost());
    Wrapper::PluginInstance plugin(&RecordingEntry::entry, host, std::string(3000, 'n'));
    plugin.create(44100.0f, 8, true);
    ASSERT_EQ(RecordingEntry::calls.size(), 1u);
    const auto& call = RecordingEntry::calls[0];
    EXPECT_EQ(call.selector, 1u);
    EXPECT_EQ(call.instance, nullptr);
    const auto& r = call.record;
    EXPECT_EQ(at<uint64_t>(r, 0), reinterpret_cast<uintptr_t>(&Wrapper::HostCallbacks::reverseCall));
    EXPECT_EQ(at<uint64_t>(r, 8), reinterpret_cast<uintptr_t>(&host));
    EXPECT_EQ(textAt(r, 16), std::string(2047, 'n')); // cut to the field less its NUL
    EXPECT_EQ(textAt(r, 2064), "Pro Tools");
    EXPECT_EQ(textAt(r, 2064 + 128), "11.3.1");
    EXPECT_EQ(at<uint32_t>(r, 2064 + 1024), 7u);
    EXPECT_EQ(at<float>(r, 3104), 44100.0f);
    EXPECT_EQ(at<uint32_t>(r, 3108), 8u);
    EXPECT_EQ(at<uint32_t>(r, 3116), 1u);
    EXPECT_EQ(plugin.handle(), &RecordingEntry::madeUpInstance);
}

TEST_F(WrapperRecords, TheProcessRecordAndItsTransport)
{
    Wrapper::HostCallbacks host(pretendHost());
    Wrapper::PluginInstance plugin(&RecordingEntry::entry, host);
    plugin.create(48000.0f, 1);
    float left[4] = {}, right[4] = {};
    float* channels[2] = {left, right};
    struct Case {
        uint64_t frames;
        Wrapper::Transport transport;
        bool analysisPass, hostFlag;
    };
    const Case cases[] = {{512, {48000.0, true}, true, false}, {7, {-3.5, false}, false, true}};
    for (const auto& c : cases) {
        RecordingEntry::calls.clear();
        ASSERT_EQ(plugin.process(c.frames, channels, c.transport, c.analysisPass, c.hostFlag), 0);
        const auto& call = RecordingEntry::calls.at(0);
        EXPECT_EQ(call.selector, 22u);
        EXPECT_EQ(call.lockIndex, 0u);
        EXPECT_EQ(call.instance, &RecordingEntry::madeUpInstance);
        EXPECT_EQ(at<uint64_t>(call.record, 0), c.frames);
        EXPECT_EQ(at<uint64_t>(call.record, 8), reinterpret_cast<uintptr_t>(channels));
        EXPECT_EQ(at<uint32_t>(call.record, 24), 0u); // no side buses
        EXPECT_EQ(at<uint32_t>(call.record, 352), c.analysisPass ? 1u : 0u);
        EXPECT_EQ(at<uint32_t>(call.record, 356), c.hostFlag ? 1u : 0u);
        EXPECT_EQ(at<double>(call.transport, 24), c.transport.samplePosition);
        EXPECT_EQ(at<uint32_t>(call.transport, 32), c.transport.playing ? 1u : 0u);
    }
}

TEST_F(WrapperRecords, RunStateAndPropertyMessageRecords)
{
    Wrapper::HostCallbacks host(pretendHost());
    Wrapper::PluginInstance plugin(&RecordingEntry::entry, host);
    plugin.create(48000.0f, 1);
    RecordingEntry::calls.clear();
    const int64_t offset = 96000;
    plugin.switchRunState(true, false, 1);
    plugin.propertyMessage(0x4460FADEu, &offset, sizeof offset, 0);
    ASSERT_EQ(RecordingEntry::calls.size(), 2u);
    const auto& runState = RecordingEntry::calls[0];
    EXPECT_EQ(runState.selector, 20u);
    EXPECT_EQ(runState.lockIndex, 1u);
    EXPECT_EQ(at<uint32_t>(runState.record, 0), 1u);
    EXPECT_EQ(at<uint32_t>(runState.record, 4), 0u);
    const auto& message = RecordingEntry::calls[1];
    EXPECT_EQ(message.selector, 40u);
    EXPECT_EQ(at<uint32_t>(message.record, 0), 0x4460FADEu);
    EXPECT_EQ(at<uint32_t>(message.record, 4), 8u);
    EXPECT_EQ(at<uint64_t>(message.record, 8), reinterpret_cast<uintptr_t>(&offset));
}

// Selector 17 carries the new figures; selector 18's lock index picks the status word.
TEST_F(WrapperRecords, FormatAndStatusWordRecords)
{
    Wrapper::HostCallbacks host(pretendHost());
    Wrapper::PluginInstance plugin(&RecordingEntry::entry, host);
    plugin.create(48000.0f, 1);
    RecordingEntry::calls.clear();
    plugin.setFormat(96000.0f, 0, 1);
    EXPECT_EQ(plugin.statusWord(0), 128u);
    EXPECT_EQ(plugin.statusWord(1), 7u);
    ASSERT_EQ(RecordingEntry::calls.size(), 3u);
    const auto& format = RecordingEntry::calls[0];
    EXPECT_EQ(format.selector, 17u);
    EXPECT_EQ(format.lockIndex, 1u);
    EXPECT_EQ(at<float>(format.record, 0), 96000.0f);
    EXPECT_EQ(at<uint32_t>(format.record, 4), 0u);
    EXPECT_EQ(RecordingEntry::calls[1].selector, 18u);
    EXPECT_EQ(RecordingEntry::calls[1].lockIndex, 0u);
    EXPECT_EQ(RecordingEntry::calls[2].lockIndex, 1u);
}

TEST_F(WrapperRecords, TheHostCallbacksAnswerTheCoresQuestionsAtTheirOffsets)
{
    Wrapper::HostCallbacks host(pretendHost());
    auto reverse = [&](uint32_t selector, uint32_t index, void* record, int32_t protocol = 1079) {
        return Wrapper::HostCallbacks::reverseCall(protocol, selector, index, &host, record);
    };
    std::vector<uint8_t> application(24, 0xAB);
    ASSERT_EQ(reverse(13, 1, application.data()), 0);
    const auto length = at<uint64_t>(application, 0);
    const char* text = nullptr;
    std::memcpy(&text, application.data() + 8, 8);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text, length), "Pro Tools 11.3.1");
    EXPECT_FLOAT_EQ(at<float>(application, 16), 11.3f);

    std::vector<uint8_t> words(12, 0xAB);
    ASSERT_EQ(reverse(18, 0, words.data()), 0);
    EXPECT_EQ(at<uint32_t>(words, 0), 1u);
    EXPECT_EQ(at<uint32_t>(words, 4), 0u);
    EXPECT_EQ(at<uint32_t>(words, 8), 0u);

    EXPECT_NE(reverse(13, 1, application.data(), 1078), 0);

    // Update requests wait until the wrapper takes them, once.
    EXPECT_FALSE(host.takeUpdates().statusWords);
    uint32_t latency = 64;
    EXPECT_EQ(reverse(2, 0, &latency), 0);
    EXPECT_EQ(reverse(3, 1, nullptr), 0);
    const auto updates = host.takeUpdates();
    EXPECT_TRUE(updates.statusWords);
    EXPECT_TRUE(updates.parameterList);
    const auto again = host.takeUpdates();
    EXPECT_FALSE(again.statusWords);
    EXPECT_FALSE(again.parameterList);
}
