#include <gtest/gtest.h>

#include "Probes.h"
#include "StressScale.h"
#include "TestHost.h"
#include "param/BoolParam.h"
#include "param/ControllerSet.h"
#include "param/EnumParam.h"
#include "param/FloatParam.h"
#include "dsp/DispatchInfo.h"
#include "dsp/ElementDispatcherParam.h"
#include "util/Log.h"

#include <thread>
#include <vector>

namespace {

using DspTest::TestHost;

// An element with one parameter of each kind.
class ParamElement : public DSP::ElementDispatcher {
public:
    explicit ParamElement(DSP::ElementHost& host) : ElementDispatcher(host, {0, "Params"}, 48000.0f, 1, 0, 0, 1)
    {
        gain = DeclareFloat("Gain", 0.0f, 1.0f, 0.5f);
        enabled = DeclareBool("Enabled", true);
        count = DeclareUInt("Count", 2, 10, 4);
        mode = DeclareEnum("Mode", {"Off", "Slow", "Fast"}, 1);
        RegisterParameters();
    }

    void OnParametersPolled(bool anyChanged) override { polls.push_back(anyChanged); }

    DSP::ElementParam<float> gain;
    DSP::ElementParam<bool> enabled;
    DSP::ElementParam<uint32_t> count;
    DSP::ElementParamEnum mode;
    std::vector<bool> polls;
};

template <typename T>
DSP::DispatchInfo<T>& dispatchOf(DSP::ElementDispatcher& element, uint32_t index)
{
    return dynamic_cast<DSP::DispatchInfo<T>&>(element.GetParameterEntry(index)->GetDispatchInfo());
}

struct Change {
    uint32_t mode;
    float value;
    bool operator==(const Change&) const = default;
};

struct ParamFixture : ::testing::Test {
    TestHost host;
    ParamElement element{host};
    std::vector<Change> changes;

    void Listen(uint32_t index)
    {
        element.AddParameterListener(index, [this](uint32_t mode, const DSP::ParamValue& value, uint64_t) {
            changes.push_back({mode, DSP::ParamDeclaration::ToFloat(value)});
        });
    }
    // Runs the audio side's pending commands as the audio thread would.
    void ProcessBlock()
    {
        DSP::ElementHost::ProcessingPass pass(host);
        element.ProcessRegion(0, 0, {});
    }
    // A change made by the audio side itself.
    void SetOnAudioSide(uint32_t index, const DSP::ParamValue& value)
    {
        DSP::ElementHost::ProcessingThreadScope audio(host);
        element.SetParameterValue(index, value);
    }
};

TEST_F(ParamFixture, DeclaredParametersAreRegisteredInOrderWithTheirDefaults)
{
    ASSERT_EQ(element.GetParameterCount(), 4u);
    EXPECT_EQ(element.FindParameter("Count"), 2u);
    EXPECT_FALSE(element.FindParameter("Volume"));
    EXPECT_EQ(element.GetParameterDeclaration(3)->valueNames, (std::vector<Util::String>{"Off", "Slow", "Fast"}));
    EXPECT_EQ(element.GetParameterDeclaration(3)->maximum, 2.0f);
    EXPECT_EQ(element.GetParameterValue(0), DSP::ParamValue(0.5f));
    EXPECT_EQ(element.GetParameterValue(1), DSP::ParamValue(true));
    EXPECT_EQ(element.GetParameterValue(2), DSP::ParamValue(4u));
    EXPECT_EQ(element.mode.GetValueName(), "Slow");
    EXPECT_FALSE(element.GetParameterValue(4));
    EXPECT_FALSE(element.SetParameterValue(4, 1.0f));
}

// A value out of range is clamped before anything sees it: listeners, cache and
// the command that carries it to the audio side.
TEST_F(ParamFixture, ValuesAreClampedBeforeListenersCacheAndCommandSeeThem)
{
    struct Case { uint32_t index; DSP::ParamValue value; float clamped; };
    const Case cases[] = {{0, 1.5f, 1.0f}, {0, -0.5f, 0.0f}, {2, 11u, 10.0f}, {2, 0u, 2.0f}, {3, 7u, 2.0f}};
    for (uint32_t index : {0u, 2u, 3u})
        Listen(index);
    host.SetProcessing(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clamped);
        changes.clear();
        element.SetParameterValue(c.index, c.value);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0], (Change{DSP::DispatchInfoBase::kUserInterfaceSide, c.clamped}));
        EXPECT_EQ(DSP::ParamDeclaration::ToFloat(*element.GetParameterValue(c.index)), c.clamped); // the cache
        ProcessBlock(); // the command's audio half sets what it carries
        ASSERT_EQ(changes.size(), 2u);
        EXPECT_EQ(changes[1], (Change{DSP::DispatchInfoBase::kAudioSide, c.clamped}));
        EXPECT_EQ(DSP::ParamDeclaration::ToFloat(element.GetParameterEntry(c.index)->GetAudioSideValue()), c.clamped);
        element.PumpCommands();
    }
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST_F(ParamFixture, AChangeFromTheUserInterfaceReachesTheAudioSideBeforeSetReturnsWhenIdle)
{
    element.gain.Set(0.25f);
    EXPECT_EQ(std::get<float>(element.GetParameterEntry(0)->GetAudioSideValue()), 0.25f);
    EXPECT_EQ(dispatchOf<float>(element, 0).GetInFlightCount(), 0);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST_F(ParamFixture, SettingTheValueTheUserInterfaceAlreadyHasSendsNothing)
{
    host.SetProcessing(true);
    element.gain.Set(0.5f); // the default
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
    element.gain.Set(0.75f);
    element.gain.Set(0.75f);
    EXPECT_EQ(host.GetCommandsInFlight(), 1u);
}

TEST_F(ParamFixture, PollReportsNothingWhileAChangeIsInFlight)
{
    auto& record = dispatchOf<float>(element, 0);
    host.SetProcessing(true);
    element.gain.Set(0.7f);             // on its way to the audio side
    SetOnAudioSide(0, 0.3f);            // the audio side moves meanwhile
    EXPECT_FALSE(record.Poll());
    EXPECT_EQ(record.GetCachedValue(), 0.7f);
    EXPECT_EQ(element.gain.Get(), 0.7f); // the user interface sees its change
    ProcessBlock();                     // the change lands
    EXPECT_EQ(record.GetInFlightCount(), 0);
    EXPECT_FALSE(record.Poll());
    EXPECT_EQ(record.GetCachedValue(), 0.7f);
}

TEST_F(ParamFixture, AnAudioSideChangeReachesTheControllerOnce)
{
    auto* controller = dynamic_cast<Controller::FloatParam*>(element.GetControllerSet().Find("Gain"));
    ASSERT_NE(controller, nullptr);
    std::vector<float> seen;
    controller->changed.connect([&](float value) { seen.push_back(value); });
    SetOnAudioSide(0, 0.25f);
    element.DispatchParameters();
    element.DispatchParameters();
    EXPECT_EQ(seen, (std::vector<float>{0.25f}));
    EXPECT_EQ(controller->GetValue(), 0.25f);
    EXPECT_EQ(element.polls, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.GetCommandsInFlight(), 0u); // nothing was sent back
    EXPECT_EQ(dispatchOf<float>(element, 0).GetInFlightCount(), 0);
}

TEST_F(ParamFixture, AUserInterfaceChangeAfterAnUnpolledAudioChangeIsNotLost)
{
    SetOnAudioSide(3, 2u);     // audio side: Fast; the cache still holds Slow
    host.SetProcessing(true);
    element.mode.Set(1u);      // the user interface asks for Slow again
    ProcessBlock();
    EXPECT_EQ(std::get<uint32_t>(element.GetParameterEntry(3)->GetAudioSideValue()), 1u);
}

TEST_F(ParamFixture, ControllersWriteThroughTheirElementParameter)
{
    auto& set = element.GetControllerSet();
    EXPECT_EQ(&set, &element.GetControllerSet()); // made once
    EXPECT_EQ(set.AllKeys(), (std::vector<Util::String>{"Gain", "Enabled", "Count", "Mode"}));
    auto* mode = dynamic_cast<Controller::EnumParam*>(set.Find("Mode"));
    auto* enabled = dynamic_cast<Controller::BoolParam*>(set.Find("Enabled"));
    auto* count = dynamic_cast<Controller::EnumParam*>(set.Find("Count"));
    ASSERT_TRUE(mode && enabled && count);
    EXPECT_EQ(mode->GetLabels(), (std::vector<Util::String>{"Off", "Slow", "Fast"}));
    EXPECT_EQ(mode->GetMaximum(), 2u);
    EXPECT_EQ(count->GetMinimum(), 2u);
    mode->SetValue(9); // clamped by the controller's range
    enabled->SetValue(false);
    EXPECT_EQ(std::get<uint32_t>(element.GetParameterEntry(3)->GetAudioSideValue()), 2u);
    EXPECT_EQ(std::get<bool>(element.GetParameterEntry(1)->GetAudioSideValue()), false);
}

TEST_F(ParamFixture, NotifyCallsTheCallbackThenTheListenersAndNeedsACallback)
{
    auto& record = dispatchOf<float>(element, 0);
    try {
        record.Notify();
        FAIL() << "Notify without a callback";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "call to empty boost::function");
    }
    std::vector<float> seen;
    record.SetOnChange([&](float value) { seen.push_back(value); });
    Listen(0);
    record.Notify();
    EXPECT_EQ(seen, (std::vector<float>{0.5f}));
    EXPECT_EQ(changes, (std::vector<Change>{{DSP::DispatchInfoBase::kUserInterfaceSide, 0.5f}}));
}

TEST_F(ParamFixture, AnAttachedChangeSignalFiresUnlessSuppressed)
{
    auto& record = dispatchOf<float>(element, 0);
    Util::Signal<void(float)> signal;
    int fired = 0;
    signal.connect([&](float) { ++fired; });
    record.SetChangeSignal(&signal, 0);
    SetOnAudioSide(0, 0.1f);
    element.DispatchParameters();
    record.SetChangeSignal(&signal, DSP::DispatchInfoBase::kSignalSuppressed);
    SetOnAudioSide(0, 0.2f);
    element.DispatchParameters();
    EXPECT_EQ(fired, 1);
}

TEST(ParamRegistration, MistakesAreReportedWithTheirIndices)
{
    class Clashing : public DSP::ElementDispatcher {
    public:
        explicit Clashing(DSP::ElementHost& host) : ElementDispatcher(host, {0, "Clash"}, 48000.0f, 1, 0, 0, 1)
        {
            DeclareFloat("A", 0, 1, 0);
            DeclareFloat("B", 0, 1, 0);
            DeclareBool("A", false);
            DeclareFloat("C", 0, 1, 0);
            RegisterParameters();
        }
    };
    TestHost host;
    Util::Log::setEcho(false);
    Util::Log::Capture log;
    Clashing element(host);
    Util::Log::setEcho(true);
    EXPECT_EQ(log.messages(), (std::vector<Util::String>{
                                  "Parameter \"A\" has already been registered",
                                  "Parameter registration for parameter index 2 failed. Was there already a parameter "
                                  "with the same ID?",
                                  "Parameter registration for parameter index 3 returned in the wrong index: 2",
                                  "Parameter index 2 has not been registered",
                              }));
    EXPECT_EQ(element.GetParameterCount(), 3u);
    EXPECT_EQ(element.FindParameter("C"), 2u);
}

TEST(ParamRegistration, AGoodElementLogsNothing)
{
    TestHost host;
    Util::Log::Capture log;
    ParamElement element(host);
    EXPECT_TRUE(log.messages().empty());
}

TEST(ParamControllerSet, MakingTheSetMustNotAskForItAgain)
{
    class Recursive : public DSP::ElementDispatcher {
    public:
        explicit Recursive(DSP::ElementHost& host) : ElementDispatcher(host, {0, "R"}, 48000.0f, 1, 0, 0, 1)
        {
            RegisterParameters();
        }

    protected:
        std::unique_ptr<Controller::ControllerSet> CreateControllerSet() override
        {
            GetControllerSet();
            return nullptr;
        }
    };
    TestHost host;
    Recursive element(host);
    try {
        element.GetControllerSet();
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Calling ElementDispatcher::GetControllerSet() recursively. Make sure your custom "
                               "controller set's constructor does not call through to GetControllerSet()!");
    }
}

// The user interface sets values while the audio thread processes: every change
// lands, and when both sides are quiet they agree on the last one. (Commands
// that found the UI FIFO full stay in the host's list until the element goes.)
TEST(ParamStress, UserInterfaceChangesDuringProcessingAllLandAndTheSidesAgree)
{
    TestHost host;
    auto element = std::make_unique<ParamElement>(host);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        while (!done.load()) {
            DSP::ElementHost::ProcessingPass pass(host);
            element->ProcessRegion(0, 0, {});
            std::this_thread::yield();
        }
    });
    const int changes = 2000 * DspTest::kStressScale;
    for (int i = 1; i <= changes; ++i) {
        element->gain.Set(float(i % 100) / 100.0f);
        if (i % 7 == 0) {
            element->PumpCommands();
            element->DispatchParameters();
        }
    }
    element->gain.Set(0.123f);
    done = true;
    audio.join();
    host.ForgetProcessingTime();
    element->PumpCommands();
    element->DispatchParameters();
    EXPECT_EQ(dispatchOf<float>(*element, 0).GetInFlightCount(), 0);
    EXPECT_EQ(std::get<float>(element->GetParameterEntry(0)->GetAudioSideValue()), 0.123f);
    EXPECT_EQ(element->gain.Get(), 0.123f);
    element.reset();
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

} // namespace
