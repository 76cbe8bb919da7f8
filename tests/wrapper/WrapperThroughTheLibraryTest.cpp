#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "wrapper/HostCallbacks.h"
#include "wrapper/PluginInstance.h"
#include "wrapper/PluginLibrary.h"

#include <cstring>
#include <vector>

// The wrapper side's library against the built plug-in library: what the LV2
// plug-in and relay-host rely on it for.

namespace {

// Selector 15 with this test's own record: {u32 index; f32 value}.
int32_t setSecondValue(Wrapper::PluginInstance& plugin, uint32_t index, float value)
{
    uint8_t record[8];
    std::memcpy(record, &index, 4);
    std::memcpy(record + 4, &value, 4);
    return plugin.call(EntryProtocol::Selector::SetSecondValue, 1, record);
}

float secondValue(Wrapper::PluginInstance& plugin, uint32_t index)
{
    uint8_t record[8] = {};
    std::memcpy(record, &index, 4);
    EXPECT_EQ(plugin.call(EntryProtocol::Selector::GetSecondValue, 1, record), 0);
    float value;
    std::memcpy(&value, record + 4, 4);
    return value;
}

class WrapperThroughTheLibrary : public ::testing::Test {
protected:
    Wrapper::PluginLibrary library{RELAY_PLUGIN_PATH};
    Wrapper::HostCallbacks host{Wrapper::HostDescription{}};
};

} // namespace

TEST_F(WrapperThroughTheLibrary, AStateSavedByOneInstanceIsRestoredIntoAnother)
{
    // The product's one element parameter, "Shuttle State", is second-list index 0.
    std::vector<uint8_t> chunk;
    {
        Wrapper::PluginInstance saved(library.entry(), host);
        saved.create(48000.0f, 1);
        ASSERT_EQ(setSecondValue(saved, 0, 2.0f), 0);
        ASSERT_TRUE(saved.saveState(chunk));
        ASSERT_GT(chunk.size(), 4u);
    }
    Wrapper::PluginInstance restored(library.entry(), host);
    restored.create(48000.0f, 1);
    EXPECT_EQ(secondValue(restored, 0), 0.0f);
    ASSERT_TRUE(restored.restoreState(chunk.data(), chunk.size()));
    EXPECT_EQ(secondValue(restored, 0), 2.0f);

    auto damaged = chunk;
    damaged.resize(chunk.size() / 2);
    EXPECT_FALSE(restored.restoreState(damaged.data(), damaged.size()));
    EXPECT_EQ(secondValue(restored, 0), 2.0f);
}

TEST_F(WrapperThroughTheLibrary, BlocksPassUnchangedAndAllocateNothing)
{
    Wrapper::PluginInstance plugin(library.entry(), host);
    plugin.create(48000.0f, EntryProtocol::channelConfigurationFor(2));
    ASSERT_EQ(plugin.activate(), 0);
    std::vector<float> left(256), right(256);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = float(i) / 256.0f;
        right[i] = -left[i];
    }
    const auto originalLeft = left, originalRight = right;
    float* channels[2] = {left.data(), right.data()};
    Wrapper::Transport transport{0.0, true};
    ASSERT_EQ(plugin.process(256, channels, transport), 0);
    const auto before = TestSupport::threadAllocationCount();
    for (int i = 0; i < 50; ++i) {
        transport.samplePosition += 256;
        ASSERT_EQ(plugin.process(256, channels, transport), 0);
    }
    EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u);
    EXPECT_EQ(left, originalLeft);
    EXPECT_EQ(right, originalRight);
}

TEST_F(WrapperThroughTheLibrary, TheEditorOpensOffScreenIdlesAndCloses)
{
    Wrapper::PluginInstance plugin(library.entry(), host);
    // Text for the editor (property message 0x800523BC) needs an open editor.
    const char text[] = "hello";
    auto showText = [&] { return plugin.propertyMessage(0x800523BCu, text, 5); };
    plugin.create(48000.0f, 1);
    EXPECT_EQ(plugin.idleEditor(), 1u); // no editor
    EXPECT_EQ(showText(), 7);
    ASSERT_EQ(plugin.openEditor(0, 470, 276), 0); // no parent window: off screen
    EXPECT_EQ(showText(), 0);
    plugin.idleEditor();
    EXPECT_EQ(plugin.idle(), 0);
    EXPECT_EQ(plugin.closeEditor(), 0);
    EXPECT_EQ(plugin.editorWindowHandle(), 0u);
    EXPECT_EQ(showText(), 7);
}

TEST_F(WrapperThroughTheLibrary, TheInformationRecordNamesTheProduct)
{
    Wrapper::PluginInstance plugin(library.entry(), host);
    const auto information = plugin.information();
    ASSERT_EQ(information.size(), 7764u);
    EXPECT_STREQ(reinterpret_cast<const char*>(information.data() + 640), "TW 6 Relay");
    uint32_t width = 0;
    std::memcpy(&width, information.data() + 1148, 4);
    EXPECT_EQ(width, 470u);
}
