#include <gtest/gtest.h>

#include "TestHost.h"
#include "dsp/PluginElementSet.h"
#include "dsp/ShuttleElement.h"

#include <cstring>
#include <vector>

namespace {

TEST(PluginElementSet, AnswersTheInstanceFromTheDspSet)
{
    DspTest::TestHost host(256);
    DSP::PluginElementSet elements(host, 44100.0f, 1);
    ElementSet& set = elements;
    set.start();
    set.connect();
    EXPECT_EQ(set.elementCount(), 2u);
    EXPECT_EQ(set.parameterCount(), 1u);
    EXPECT_EQ(set.maxSubBlockSize(), 256u);
    EXPECT_EQ(set.latency(), 0u);
    EXPECT_EQ(set.tailFrames(), 88200u); // two seconds
    EXPECT_EQ(set.exchangeHostWord(5), 5u);
    EXPECT_TRUE(set.answersYes(1, 2));

    std::vector<float> left(256, 0.25f), right(256, -0.5f);
    float* channels[] = {left.data(), right.data()};
    uint8_t items[128] = {};
    const uint64_t first = 0x1122334455667788ull;
    std::memcpy(items, &first, sizeof first);
    set.beforeBlock(2, items);
    ASSERT_EQ(elements.GetSet().GetBeforeBlockItems().size(), 2u);
    EXPECT_EQ(elements.GetSet().GetBeforeBlockItems()[0], first);
    set.runPendingCommands();
    set.processSubBlock(256, channels, 2, nullptr, 0);
    set.afterBlock();
    EXPECT_EQ(left[255], 0.25f);
    EXPECT_EQ(right[0], -0.5f);
    set.stop();
}

TEST(PluginElementSet, BypassCopiesInputsToOutputs)
{
    DspTest::TestHost host;
    DSP::PluginElementSet elements(host, 44100.0f, 0);
    std::vector<float> in(64, 0.75f), out(64, 0.0f);
    float* inputs[] = {in.data()};
    float* outputs[] = {out.data()};
    elements.bypass(64, inputs, outputs, 1);
    EXPECT_EQ(out, in);
    elements.bypass(64, nullptr, outputs, 1); // nothing to read: nothing happens
}

TEST(PluginElementSet, ReconfigurationAndRunStateReachTheSet)
{
    DspTest::TestHost host;
    DSP::PluginElementSet elements(host, 44100.0f, 1);
    const auto shuttle = elements.GetSet().GetShuttle();
    elements.reconfigure(48000.0f, 0);
    EXPECT_NE(elements.GetSet().GetShuttle(), shuttle);
    EXPECT_EQ(elements.GetSet().GetShuttle()->GetChannelCount(), 1u);
    elements.runStateChanged(true);
    EXPECT_TRUE(elements.GetSet().IsRunning());
}

} // namespace
