#include <gtest/gtest.h>

#include "product/PluginFactoryImpl.h"
#include "TestElements.h"
#include "TestWrapper.h"
#include "param/BoolParamMemory.h"
#include "param/EnumParamMemory.h"
#include "param/FloatParam.h"
#include "param/EnumParam.h"
#include "param/FloatParamMemory.h"
#include "dsp/ElementDispatcher.h"
#include "dsp/ElementParamImplBase.h"
#include "core/ParamInfoRecord.h"
#include "core/RecordView.h"
#include "support/FakeClock.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <functional>

namespace {

const std::vector<ParamRegistration> Registrations = {
    {"Mix", "Gain", "gain", "Output Gain"},
    {"Mix", "Steps", "", "Steps"},
    {"Mix", "Steps", "steps", " "},
    {"Mix ", "Gain", "gain2", "Gain 2"},
    {"Nowhere", "Gain", "gain3", "Gain 3"},
    {"Mix", "Gain ", "gain4", "Gain 4"},
    {"Mix", "Loudness", "gain5", "Gain 5"},
    {"Mix", "Bypass", "bypass", "Bypass"},
    {"Mix", "Mode", "mode", "Mode"},
    {"Shuttle", "Shuttle State", "state", "State"},
};

struct Record {
    std::vector<uint8_t> bytes;
    explicit Record(const uint8_t* at) : bytes(at, at + ParamInfoRecord::Size) {}
    std::string text(size_t offset) const { return reinterpret_cast<const char*>(bytes.data() + offset); }
    uint32_t u32(size_t offset) const { uint32_t v; std::memcpy(&v, bytes.data() + offset, 4); return v; }
    float f32(size_t offset) const { float v; std::memcpy(&v, bytes.data() + offset, 4); return v; }
};

// Selector 9 or 13 with room for `count` records, all bytes 0xCD beforehand.
std::vector<Record> describe(Plugin& plugin, uint32_t selector, uint32_t count, int32_t* status = nullptr)
{
    std::vector<uint8_t> records(ParamInfoRecord::Size * count, 0xCD);
    uint8_t request[16] = {};
    RecordView(request).setU32(0, count);
    RecordView(request).setU64(8, reinterpret_cast<uintptr_t>(records.data()));
    const int32_t result = Entry::call(plugin, selector, 1, request);
    if (status)
        *status = result;
    std::vector<Record> out;
    for (uint32_t i = 0; i < count; ++i)
        out.emplace_back(records.data() + i * ParamInfoRecord::Size);
    return out;
}

uint32_t count(Plugin& plugin, uint32_t selector)
{
    uint32_t n = 0;
    EXPECT_EQ(Entry::call(plugin, selector, 1, &n), 0);
    return n;
}

struct ParameterLists : ::testing::Test {
    TestWrapper wrapper;
    TestElementFactory factory{Registrations};
    Util::Log::Capture log;
    Plugin plugin{wrapper.creation(), factory};
};

} // namespace

TEST_F(ParameterLists, TheAutomatableListSkipsBrokenRegistrationsWithTheirMessages)
{
    EXPECT_EQ(count(plugin, 8), 4u);
    const std::vector<std::string> expected = {
        "Skipping entry in param registration info list because the ID is blank.",
        "Skipping entry in param registration info list because the name is blank.",
        "Could not find element \"Mix \" while building param set, skipping this entry.  (Hint - trailing space "
        "after element name)",
        "Could not find element \"Nowhere\" while building param set, skipping this entry. ",
        "Could not find parameter \"Gain \" for element \"Mix\" while building param set, skipping this entry.  "
        "(Hint - trailing space after param name)",
        "Could not find parameter \"Loudness\" for element \"Mix\" while building param set, skipping this entry. ",
    };
    EXPECT_EQ(log.messages(), expected);
    // The product itself offers nothing to automate.
    Plugin product(wrapper.creation(), PluginFactoryImpl::product());
    EXPECT_EQ(count(product, 8), 0u);
    EXPECT_EQ(count(product, 12), 1u); // "Shuttle State"
}

TEST_F(ParameterLists, InformationRecordsCarryEachKindAtItsOffsets)
{
    const auto records = describe(plugin, 9, 4);
    const struct {
        std::string name, second, labels;
        uint32_t kind;
        float minimum, maximum, defaultValue;
        uint32_t style;
    } expected[] = {
        {"Output Gain", "gain", "", 0, -60.0f, 12.0f, 0.0f, 0},
        {"Bypass", "bypass", "", 1, 0.0f, 1.0f, 0.0f, 2},
        {"Mode", "mode", "Clean\tWarm\tHot", 2, 0.0f, 2.0f, 0.0f, 3},
        {"State", "state", "Idle\tCapturing\tCaptured\tReady to Write", 2, 0.0f, 3.0f, 0.0f, 3},
    };
    for (size_t i = 0; i < 4; ++i) {
        const auto& r = records[i];
        const auto& e = expected[i];
        EXPECT_TRUE(std::all_of(r.bytes.begin(), r.bytes.begin() + 256, [](uint8_t b) { return b == 0xCD; }))
            << "the reserved bytes are the caller's";
        EXPECT_EQ(r.text(256), e.name);
        EXPECT_EQ(r.text(1280), e.second);
        EXPECT_EQ(r.text(2304), e.labels);
        EXPECT_EQ(r.u32(4352), e.kind) << e.name;
        EXPECT_EQ(r.u32(4356), 0u);
        EXPECT_EQ(r.u32(4360), 1u);
        EXPECT_EQ(r.u32(4364), 1u);
        EXPECT_EQ(r.u32(4368), 0u);
        EXPECT_EQ(r.f32(4372), e.minimum) << e.name;
        EXPECT_EQ(r.f32(4376), e.maximum) << e.name;
        EXPECT_EQ(r.f32(4380), e.defaultValue) << e.name;
        EXPECT_EQ(r.u32(4384), 0u);
        EXPECT_EQ(r.u32(4388), e.style) << e.name;
    }
}

TEST_F(ParameterLists, TheSecondListShowsEveryElementParameterUnderItsOwnName)
{
    ASSERT_EQ(count(plugin, 12), 5u);
    const auto records = describe(plugin, 13, 5);
    const char* names[] = {"Gain", "Bypass", "Mode", "Steps", "Shuttle State"};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(records[i].text(256), names[i]);
    EXPECT_EQ(records[3].text(1280), "Mix.Steps");
    // An unsigned parameter is a plain number to the host, shown in steps.
    EXPECT_EQ(records[3].u32(4352), 0u);
    EXPECT_EQ(records[3].f32(4372), 1.0f);
    EXPECT_EQ(records[3].f32(4376), 16.0f);
    EXPECT_EQ(records[3].f32(4380), 4.0f);
    EXPECT_EQ(records[3].u32(4388), 1u);

    int32_t status = 0;
    const auto untouched = describe(plugin, 13, 4, &status);
    EXPECT_EQ(status, 6);
    EXPECT_TRUE(std::all_of(untouched[0].bytes.begin(), untouched[0].bytes.end(), [](uint8_t b) { return b == 0xCD; }));
}

TEST(ParamInfoRecord, SwitchRangesComeFromTheirFlagsAndEnumLabelsMustFitTheRange)
{
    const Controller::BoolParamMemory fixedOn("Always", true, true, true);
    const auto on = ParamInfoRecord::describe(fixedOn, ParamListEntry::Bool);
    ASSERT_TRUE(on.has_value());
    std::vector<uint8_t> record(ParamInfoRecord::Size, 0);
    ParamInfoRecord::write(record.data(), *on);
    const Record r(record.data());
    EXPECT_EQ(r.f32(4372), 1.0f);
    EXPECT_EQ(r.f32(4376), 1.0f);
    EXPECT_EQ(r.f32(4380), 1.0f);
    EXPECT_EQ(r.u32(4352), 1u);

    Util::Log::Capture log;
    const Controller::EnumParamMemory shortOfLabels("Mode", 0, 3, 1, {"A", "B", "C"});
    const auto fields = ParamInfoRecord::describe(shortOfLabels, ParamListEntry::Enum);
    ASSERT_TRUE(fields.has_value());
    EXPECT_TRUE(fields->labels.empty());
    EXPECT_EQ(log.messages(), std::vector<std::string>{"Enum size mismatch 3 != 4"});
    const Controller::EnumParamMemory fitting("Mode", 1, 3, 2, {"A", "B", "C"});
    EXPECT_EQ(ParamInfoRecord::describe(fitting, ParamListEntry::Enum)->labels.size(), 3u);
    EXPECT_EQ(log.messages().size(), 1u);
}

TEST(ParamInfoRecord, TextFieldsAreCutToTheirSizeLessOneByte)
{
    ParamInfoRecord::Fields fields;
    fields.kind = ParamListEntry::Enum;
    fields.displayName = std::string(1500, 'n');
    fields.secondText = std::string(1024, 's');
    fields.labels = {std::string(1500, 'a'), std::string(1500, 'b')};
    std::vector<uint8_t> record(ParamInfoRecord::Size, 0xCD);
    ParamInfoRecord::write(record.data(), fields);
    const Record r(record.data());
    EXPECT_EQ(r.text(256), std::string(1023, 'n'));
    EXPECT_EQ(r.text(1280), std::string(1023, 's'));
    EXPECT_EQ(r.text(2304), std::string(1500, 'a') + "\t" + std::string(546, 'b'));
}

TEST_F(ParameterLists, HostValuesPassInTheParametersOwnTermsAndTheHookMayTakeThem)
{
    uint8_t record[8] = {};
    const RecordView r(record);
    auto set = [&](uint32_t selector, uint32_t index, float value) {
        r.setU32(0, index);
        r.setF32(4, value);
        return Entry::call(plugin, selector, 1, record);
    };
    auto get = [&](uint32_t selector, uint32_t index) {
        r.setU32(0, index);
        EXPECT_EQ(Entry::call(plugin, selector, 1, record), 0);
        return r.f32(4);
    };
    EXPECT_EQ(set(11, 0, -80.0f), 0);
    EXPECT_EQ(get(10, 0), -60.0f); // clamped into the range
    EXPECT_EQ(set(11, 1, 1.0f), 0);
    EXPECT_EQ(get(10, 1), 1.0f);
    EXPECT_EQ(set(11, 2, 1.6f), 0);
    EXPECT_EQ(get(10, 2), 2.0f); // an index is the nearest whole number
    EXPECT_EQ(set(15, 3, 7.0f), 0);
    EXPECT_EQ(get(14, 3), 7.0f);
    EXPECT_EQ(set(11, 4, 0.0f), 6);
    EXPECT_EQ(set(15, 5, 0.0f), 6);
    r.setU32(0, 4);
    EXPECT_EQ(Entry::call(plugin, 10, 1, record), 6);

    std::vector<std::pair<uint32_t, float>> offered;
    plugin.parameters().setValueHook([&](HostParameters::List list, uint32_t index, float value) -> uint32_t {
        offered.emplace_back(index, value);
        return list == HostParameters::List::Automatable && index == 0 ? 1 : 0;
    });
    EXPECT_EQ(set(11, 0, 6.0f), 0);
    EXPECT_EQ(get(10, 0), -60.0f); // taken by the hook
    EXPECT_EQ(set(11, 1, 0.0f), 0);
    EXPECT_EQ(get(10, 1), 0.0f); // passed on
    EXPECT_EQ(set(15, 0, 3.0f), 0);
    EXPECT_EQ(get(14, 0), 3.0f);
    EXPECT_EQ(set(11, 9, 1.0f), 6); // out of range: not offered
    EXPECT_EQ(offered, (std::vector<std::pair<uint32_t, float>>{{0, 6.0f}, {1, 0.0f}, {0, 3.0f}}));
}

TEST_F(ParameterLists, CallsOnTheProcessingSideActOnTheAudioSidesValue)
{
    // A block pass just ran: changes from the user interface now queue for the audio side.
    Platform::FakeClock clock{10000};
    std::vector<float> left(16), right(16);
    float* channels[] = {left.data(), right.data()};
    CoreRecords::Process block;
    block.frameCount = 16;
    block.channels = channels;
    plugin.processBlock(block);
    ASSERT_TRUE(plugin.blockPass().isProcessing());

    uint8_t record[8] = {};
    const RecordView r(record);
    r.setU32(0, 0);
    r.setF32(4, -20.0f);
    ASSERT_EQ(Entry::call(plugin, 11, 1, record), 0);
    // The new value travels to the audio side as a command not yet run.
    EXPECT_EQ(Entry::secondValue(plugin, 0, 1), -20.0f);
    EXPECT_EQ(Entry::secondValue(plugin, 0, 0), 0.0f);
    ASSERT_EQ(Entry::call(plugin, 21, 0, nullptr), 0); // settle: the audio side runs its commands
    EXPECT_EQ(Entry::secondValue(plugin, 0, 0), -20.0f);
    EXPECT_FALSE(plugin.blockPass().isProcessingThread()); // the mark lasted only as long as the read

    // A write from the processing side goes straight to the audio side's value,
    // and allocates nothing on the way.
    auto* gain = Controller::ValueForKeyPathAs<Controller::FloatParam>(*plugin.elementSet().dspSet(), "Mix.Gain");
    ASSERT_NE(gain, nullptr);
    std::vector<float> told;
    gain->changed.connect([&](float v) { told.push_back(v); });
    r.setU32(0, 0);
    r.setF32(4, -30.0f);
    const auto allocations = TestSupport::threadAllocationCount();
    ASSERT_EQ(Entry::call(plugin, 11, 0, record), 0);
    EXPECT_EQ(TestSupport::threadAllocationCount(), allocations);
    EXPECT_EQ(Entry::secondValue(plugin, 0, 0), -30.0f);
    EXPECT_FALSE(plugin.blockPass().isProcessingThread());
    // The user interface hears of it at its next dispatch.
    EXPECT_TRUE(told.empty());
    plugin.elementSet().idle();
    EXPECT_EQ(told, std::vector<float>{-30.0f});
}

namespace {

// What the editor's controls do with "Mix.Gain" (automatable index 0): its gesture
// calls and its controller, on the user-interface side.
struct GainControl {
    DSP::ElementParamImplBase<float>& param;
    Controller::FloatParam& controller;

    static GainControl of(Plugin& plugin)
    {
        auto& mix = dynamic_cast<DSP::ElementDispatcher&>(*plugin.elementSet().dspSet()->FindElement("Mix"));
        auto* entry = mix.GetParameterEntry(*mix.FindParameter("Gain"));
        return {dynamic_cast<DSP::ElementParamImplBase<float>&>(*entry),
                *Controller::ValueForKeyPathAs<Controller::FloatParam>(*plugin.elementSet().dspSet(), "Mix.Gain")};
    }
    void drag(float to)
    {
        param.BeginEdit();
        controller.SetValue(to);
        param.EndEdit();
    }
};

void openEditor(TestElementFactory& factory, Plugin& plugin)
{
    factory.makeEditor = [] { return std::make_unique<StubEditor>(); };
    uint8_t record[76] = {};
    ASSERT_EQ(Entry::call(plugin, 28, 1, record), 0);
}

} // namespace

TEST_F(ParameterLists, AnEditorGestureReachesTheWrapperOnceWithTheValueTheHostSees)
{
    openEditor(factory, plugin);
    auto gain = GainControl::of(plugin);
    gain.drag(-12.0f);
    plugin.idle(); // the change comes back from the audio side: no second report
    using G = TestWrapper::Gesture;
    EXPECT_EQ(wrapper.gestures, (std::vector<G>{{0, 0, 0.0f}, {1, 0, -12.0f}, {2, 0, -12.0f}}));
}

TEST_F(ParameterLists, ChangesTheEditorDidNotMakeAreNotReported)
{
    auto gain = GainControl::of(plugin);
    uint8_t record[8] = {};
    const RecordView r(record);
    auto hostSets = [&](uint32_t selector, uint32_t lockIndex, float value) {
        r.setU32(0, 0); // "Mix.Gain" is index 0 of both lists
        r.setF32(4, value);
        ASSERT_EQ(Entry::call(plugin, selector, lockIndex, record), 0);
    };
    const std::vector<uint8_t> state = Entry::saveState(plugin);
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"host value, user-interface side", [&] { hostSets(11, 1, -5.0f); }},
        {"second list value", [&] { hostSets(15, 1, -6.0f); }},
        {"host value from the audio side, delivered at idle", [&] { hostSets(11, 0, -7.0f); plugin.idle(); }},
        {"restored state", [&] { ASSERT_TRUE(Entry::restoreState(plugin, state)); }},
        {"begin and end without an editor", [&] { gain.param.BeginEdit(); gain.param.EndEdit(); }},
    };
    for (const auto& c : cases) {
        wrapper.gestures.clear();
        c.change();
        EXPECT_TRUE(wrapper.gestures.empty()) << c.what;
    }
    // The value change itself needs no editor.
    gain.controller.SetValue(-8.0f);
    EXPECT_EQ(wrapper.gestures, (std::vector<TestWrapper::Gesture>{{1, 0, -8.0f}}));
}

TEST_F(ParameterLists, GesturesReachTheWrapperFromAnElementAFormatChangeMadeAnew)
{
    openEditor(factory, plugin);
    uint8_t configuration[8] = {};
    RecordView(configuration).setF32(0, 44100.0f);
    RecordView(configuration).setU32(4, 1);
    ASSERT_EQ(Entry::call(plugin, 17, 1, configuration), 0);
    auto* state =
        Controller::ValueForKeyPathAs<Controller::EnumParam>(*plugin.elementSet().dspSet(), "Shuttle.Shuttle State");
    ASSERT_NE(state, nullptr);
    state->SetValue(2); // "Shuttle State" is automatable index 3
    EXPECT_EQ(wrapper.gestures, (std::vector<TestWrapper::Gesture>{{1, 3, 2.0f}}));
}
