#include <gtest/gtest.h>

#include "product/PluginFactoryImpl.h"
#include "TestElements.h"
#include "TestWrapper.h"
#include "product/PluginContext.h"
#include "param/FloatParam.h"
#include "core/HistoryFile.h"
#include "core/RecordView.h"
#include "core/StateChunk.h"
#include "dsp/DSPSetImpl.h"
#include "platform/ProcessInfo.h"
#include "util/Log.h"

#include <json/json.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

// Every element parameter of the test set away from its default, as the host
// sets it through the second value list.
const std::map<std::string, float> NonDefaults = {
    {"Gain", -12.5f}, {"Bypass", 1.0f}, {"Mode", 2.0f}, {"Steps", 9.0f}, {"Shuttle State", 3.0f}};
const std::map<std::string, float> Defaults = {
    {"Gain", 0.0f}, {"Bypass", 0.0f}, {"Mode", 0.0f}, {"Steps", 4.0f}, {"Shuttle State", 0.0f}};

// The chunk's text read back with zlib and JsonCpp alone.
Json::Value chunkText(const std::vector<uint8_t>& chunk)
{
    uint32_t length = 0;
    std::memcpy(&length, chunk.data(), 4);
    std::string text(length, '\0');
    uLongf produced = length;
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(text.data()), &produced, chunk.data() + 4, uLong(chunk.size() - 4)),
              Z_OK);
    EXPECT_EQ(produced, length);
    Json::Value root;
    EXPECT_TRUE(Json::Reader().parse(text, root)) << text;
    return root;
}

// Sets the host process name for its lifetime.
struct HostProcess {
    explicit HostProcess(const std::string& name) { Platform::overrideHostProcessFileName(name); }
    ~HostProcess() { Platform::overrideHostProcessFileName(""); }
};

class HostSavedState : public ::testing::Test {
protected:
    std::unique_ptr<Plugin> make() { return std::make_unique<Plugin>(wrapper.creation(), factory); }

    static uint32_t indexOf(Plugin& plugin, const std::string& name)
    {
        for (uint32_t i = 0; i < plugin.parameters().list(HostParameters::List::Second).count(); ++i)
            if (plugin.parameters().list(HostParameters::List::Second).entry(i).displayName == name)
                return i;
        ADD_FAILURE() << "no parameter " << name;
        return 0;
    }
    static std::map<std::string, float> values(Plugin& plugin)
    {
        std::map<std::string, float> result;
        for (const auto& [name, unused] : Defaults)
            result[name] = Entry::secondValue(plugin, indexOf(plugin, name));
        return result;
    }
    static void setAll(Plugin& plugin, const std::map<std::string, float>& settings)
    {
        for (const auto& [name, value] : settings)
            ASSERT_EQ(Entry::setSecondValue(plugin, indexOf(plugin, name), value), 0) << name;
    }
    static Context::PluginContext& contextOf(Plugin& plugin)
    {
        return dynamic_cast<Context::PluginContext&>(plugin.context());
    }

    TestWrapper wrapper;
    TestElementFactory factory;
};

} // namespace

TEST_F(HostSavedState, EveryParameterAndTheContextSurviveBothFlavoursIntoAFreshInstance)
{
    auto saved = make();
    ASSERT_EQ(saved->parameters().list(HostParameters::List::Second).count(), Defaults.size());
    ASSERT_EQ(values(*saved), Defaults);
    setAll(*saved, NonDefaults);
    contextOf(*saved).setProperty("Window Corner", Util::TypedValue::fromString("top left"));
    // A file name need not be UTF-8; it must come back byte for byte all the same.
    const std::string fileName = "Caf\xC3\xA9 \xFF\xFE take.wav";
    contextOf(*saved).setProperty("Last Clip", Util::TypedValue::fromString(fileName));
    const auto first = Entry::saveState(*saved);
    const auto second = Entry::saveSecondFlavour(*saved);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    saved.reset();

    for (const auto* chunk : {&first, &second}) {
        auto fresh = make();
        auto* gain = Controller::ValueForKeyPathAs<Controller::FloatParam>(*fresh->elementSet().dspSet(), "Mix.Gain");
        ASSERT_NE(gain, nullptr);
        std::vector<float> told;
        gain->changed.connect([&](float v) { told.push_back(v); });

        ASSERT_TRUE(Entry::restoreState(*fresh, *chunk));
        EXPECT_EQ(values(*fresh), NonDefaults);
        const auto* corner = contextOf(*fresh).property("Window Corner");
        ASSERT_NE(corner, nullptr);
        EXPECT_EQ(corner->asString(), "top left");
        ASSERT_NE(contextOf(*fresh).property("Last Clip"), nullptr);
        EXPECT_EQ(contextOf(*fresh).property("Last Clip")->asString(), fileName);
        // The user interface hears of the restored values through the controllers.
        EXPECT_EQ(told, std::vector<float>{-12.5f});
        EXPECT_EQ(gain->GetValue(), -12.5f);
        // What the host now saves is what it restored.
        EXPECT_EQ(chunkText(Entry::saveSecondFlavour(*fresh)), chunkText(second));
    }
}

TEST_F(HostSavedState, RestoringPutsWhatTheStateLeavesOutBackToItsDefault)
{
    // A state of an earlier version, before "Steps" and "Mode", and one element of a later one.
    const std::string text = R"({
        "Major Version": {"Type": "UInt", "Value": 1},
        "Context State": {"Type": "Dictionary", "Value": {}},
        "DSP State": {"Type": "Dictionary", "Value": {"DSP Elements": {"Type": "Dictionary", "Value": {
            "Mix": {"Type": "Dictionary", "Value": {
                "Gain": {"Type": "Float", "Value": -3}, "Bypass": {"Type": "Bool", "Value": true}}},
            "Reverb": {"Type": "Dictionary", "Value": {"Size": {"Type": "Float", "Value": 1}}}}}}}
    })";
    auto edited = make();
    setAll(*edited, NonDefaults);
    ASSERT_TRUE(Entry::restoreState(*edited, StateChunk::pack(text)));
    auto expected = Defaults;
    expected["Gain"] = -3.0f;
    expected["Bypass"] = 1.0f;
    EXPECT_EQ(values(*edited), expected);
}

TEST_F(HostSavedState, TheChunkCarriesTheTopLevelKeysAsTypedMembers)
{
    auto plugin = make();
    const auto root = chunkText(Entry::saveState(*plugin));
    EXPECT_EQ(root.getMemberNames(),
              (std::vector<std::string>{"Context State", "DSP State", "Major Version", "Minor Version"}));
    EXPECT_EQ(root["Major Version"]["Type"].asString(), "UInt");
    EXPECT_EQ(root["Major Version"]["Value"].asUInt(), 1u);
    EXPECT_EQ(root["Minor Version"]["Value"].asUInt(), 1u);
    EXPECT_EQ(root["DSP State"]["Type"].asString(), "Dictionary");
    EXPECT_EQ(root["Context State"]["Type"].asString(), "Dictionary");
    const auto& mix = root["DSP State"]["Value"]["DSP Elements"]["Value"]["Mix"]["Value"];
    EXPECT_EQ(mix["Gain"]["Type"].asString(), "Float");
    EXPECT_EQ(mix["Bypass"]["Type"].asString(), "Bool");
    EXPECT_EQ(mix["Mode"]["Type"].asString(), "UInt");
    EXPECT_EQ(mix["Steps"]["Value"].asUInt(), 4u);
}

TEST_F(HostSavedState, AStateWithoutMajorVersionIsReadByTheOlderLayout)
{
    // The older layout names parameters by key path at the top level; a member
    // of the current layout means nothing to it.
    const std::string text = R"({
        "Mix.Gain": {"Type": "Float", "Value": -6},
        "Mix.Mode": {"Type": "UInt", "Value": 1},
        "Shuttle.Shuttle State": {"Type": "UInt", "Value": 2},
        "Gone.Parameter": {"Type": "Float", "Value": 1},
        "DSP State": {"Type": "Dictionary", "Value": {"DSP Elements": {"Type": "Dictionary", "Value": {
            "Mix": {"Type": "Dictionary", "Value": {"Gain": {"Type": "Float", "Value": -30}}}}}}}
    })";
    auto plugin = make();
    setAll(*plugin, {{"Steps", 12.0f}});
    contextOf(*plugin).setProperty("Kept", Util::TypedValue::fromBool(true));
    ASSERT_TRUE(Entry::restoreState(*plugin, StateChunk::pack(text)));
    auto expected = Defaults;
    expected["Gain"] = -6.0f;
    expected["Mode"] = 1.0f;
    expected["Shuttle State"] = 2.0f;
    EXPECT_EQ(values(*plugin), expected);
    EXPECT_NE(contextOf(*plugin).property("Kept"), nullptr); // the older layout had no context
}

TEST_F(HostSavedState, DefaultStateUnderHostTwoIsTrueUntilTheFirstWriteOrRestore)
{
    HostProcess host("Pro Tools");
    auto written = make();
    const auto first = Entry::saveState(*written);
    EXPECT_TRUE(chunkText(first)["PT Default State"]["Value"].asBool());
    EXPECT_EQ(chunkText(first)["PT Default State"]["Type"].asString(), "Bool");
    const auto afterWrite = Entry::saveState(*written);
    EXPECT_FALSE(chunkText(afterWrite)["PT Default State"]["Value"].asBool());
    // The second flavour never carries it: its chunk is not the size code 0 answers.
    const auto second = written->savedState().chunk(PluginState::Flavour::Second);
    EXPECT_FALSE(chunkText(second).isMember("PT Default State"));
    EXPECT_NE(second.size(), afterWrite.size());
    EXPECT_TRUE(Entry::saveSecondFlavour(*written).empty());

    auto restored = make();
    ASSERT_TRUE(Entry::restoreState(*restored, afterWrite));
    EXPECT_FALSE(chunkText(Entry::saveState(*restored))["PT Default State"]["Value"].asBool());

    // A chunk without the key (second flavour) clears it too; one saved while
    // its instance still held its defaults says so again.
    auto another = make();
    ASSERT_TRUE(Entry::restoreState(*another, make()->savedState().chunk(PluginState::Flavour::Second)));
    EXPECT_FALSE(another->stateNotYetRestored());
    ASSERT_TRUE(Entry::restoreState(*another, first));
    EXPECT_TRUE(another->stateNotYetRestored());
}

TEST_F(HostSavedState, OtherHostsNeverSeeTheDefaultStateKeyAndGetOneChunkInBothFlavours)
{
    HostProcess host("Reaper");
    auto plugin = make();
    setAll(*plugin, NonDefaults);
    const auto first = Entry::saveState(*plugin);
    EXPECT_FALSE(chunkText(first).isMember("PT Default State"));
    EXPECT_EQ(Entry::saveSecondFlavour(*plugin), first);
}

TEST_F(HostSavedState, AWriteWhoseSizeWordDiffersWritesNothingAndFails)
{
    HostProcess host("Pro Tools");
    auto plugin = make();
    uint8_t record[40] = {};
    const RecordView r(record);
    ASSERT_EQ(Entry::call(*plugin, 31, 1, record), 0);
    const uint32_t size = r.u32(8);
    ASSERT_GT(size, 4u);
    const auto secondSize = uint32_t(plugin->savedState().chunk(PluginState::Flavour::Second).size());
    auto write = [&](uint32_t code, uint32_t word, std::vector<uint8_t>& buffer) {
        r.setU32(0, code);
        r.setU8(4, 0);
        r.setU32(8, word);
        r.setU64(16, reinterpret_cast<uintptr_t>(buffer.data()));
        EXPECT_EQ(Entry::call(*plugin, 31, 1, record), 0);
        return record[4] == 0;
    };
    for (const auto& [code, right] : {std::pair{2u, size}, std::pair{1u, secondSize}})
        for (uint32_t word : {right - 1, right + 1, 0u}) {
            std::vector<uint8_t> buffer(right + 8, 0xEE);
            EXPECT_FALSE(write(code, word, buffer)) << "code " << code << " size " << word;
            EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint8_t b) { return b == 0xEE; }));
        }
    EXPECT_TRUE(plugin->stateNotYetRestored()); // no state went out yet

    // The size answered by code 0 is the size of what code 2 writes.
    std::vector<uint8_t> buffer(size);
    ASSERT_TRUE(write(2, size, buffer));
    uint32_t length;
    std::memcpy(&length, buffer.data(), 4);
    EXPECT_EQ(StateChunk::unpack(buffer.data(), buffer.size())->size(), length);
    EXPECT_FALSE(plugin->stateNotYetRestored());
}

TEST_F(HostSavedState, BadChunksLeaveTheInstanceAsItWasAndSetTheFailureByte)
{
    auto plugin = make();
    setAll(*plugin, NonDefaults);
    contextOf(*plugin).setProperty("Kept", Util::TypedValue::fromUInt(7));
    const auto good = Entry::saveState(*plugin);
    const std::string goodText = *StateChunk::unpack(good.data(), good.size());
    auto withLength = [&](uint32_t length) {
        auto chunk = good;
        std::memcpy(chunk.data(), &length, 4);
        return chunk;
    };
    // Typed JSON pieces of a current-layout state.
    auto state = [](const std::string& members) { return StateChunk::pack("{" + members + "}"); };
    auto typed = [](const std::string& type, const std::string& value) {
        return R"({"Type": ")" + type + R"(", "Value": )" + value + "}";
    };
    const std::string v1 = R"("Major Version": )" + typed("UInt", "1") + ", ";
    const std::string context = R"("Context State": )" + typed("Dictionary", "{}");
    auto dspWithMix = [&](const std::string& mix) {
        const std::string elements = typed("Dictionary", mix.empty() ? "{}" : R"({"Mix": )" + mix + "}");
        return R"("DSP State": )" + typed("Dictionary", R"({"DSP Elements": )" + elements + "}");
    };
    const std::string dsp = dspWithMix("");
    const std::string whole = v1 + dsp + ", " + context + ", ";

    const char* const unpacking = "does not decompress";
    const char* const untyped = "not a typed dictionary";
    const char* const unfit = "does not fit this instance";
    const char* const part = "a part is missing";
    const char* const value = "a parameter value has the wrong type";
    const struct {
        const char* name;
        std::vector<uint8_t> chunk;
        const char* reason;
    } cases[] = {
        {"empty", {}, unpacking},
        {"does not decompress", {20, 0, 0, 0, 'n', 'o', 't', ' ', 'z', 'l', 'i', 'b', 0, 0, 0, 0}, unpacking},
        {"truncated stream", std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() / 2)), unpacking},
        {"length word smaller than the text", withLength(uint32_t(goodText.size() - 1)), unpacking},
        {"length word larger than the text", withLength(uint32_t(goodText.size() + 1)), unpacking},
        {"length word far larger than the text", withLength(0xFFFFFFF0u), unpacking},
        {"not JSON", StateChunk::pack("{\"Major Version\": "), untyped},
        {"JSON but not an object", StateChunk::pack("[1, 2, 3]"), untyped},
        {"JSON nested too deep", StateChunk::pack(std::string(300, '[') + std::string(300, ']')), untyped},
        {"a member that is not typed", state(R"("Mix.Gain": -6)"), untyped},
        {"a member without Type", state(whole + R"("Extra": {"Value": 1})"), untyped},
        {"a member without Value", state(whole + R"("Extra": {"Type": "UInt"})"), untyped},
        {"an unknown type", state(whole + R"("Extra": )" + typed("Complex", "1")), untyped},
        {"an unknown type deep inside",
         state(v1 + context + ", " + dspWithMix(typed("Dictionary", R"({"Gain": )" + typed("Half", "1") + "}"))),
         untyped},
        {"a value of the wrong type",
         state(v1 + context + ", " + dspWithMix(typed("Dictionary", R"({"Gain": )" + typed("String", "\"-6\"") + "}"))),
         unfit},
        {"an element that is not a dictionary", state(v1 + context + ", " + dspWithMix(typed("UInt", "1"))), unfit},
        {"an older layout value of the wrong type", state(R"("Mix.Bypass": )" + typed("UInt", "1")), value},
        {"an index beyond 32 bits", state(R"("Mix.Mode": )" + typed("UInt", "4294967296")), value},
        {"no DSP State", state(v1 + context), part},
        {"no Context State", state(v1 + dsp), part},
        {"a context state that is not a dictionary", state(v1 + dsp + R"(, "Context State": )" + typed("Bool", "true")),
         part},
        {"context properties that are not a dictionary",
         state(v1 + dsp + R"(, "Context State": )" +
               typed("Dictionary", R"({"Properties": )" + typed("String", "\"x\"") + "}")),
         unfit},
        {"a default-state flag that is not a Bool", state(whole + R"("PT Default State": )" + typed("UInt", "1")), part},
        {"a major version that is not a number", state(R"("Major Version": )" + typed("String", "\"1\"")),
         "major version is not a number"},
        {"an unknown major version", state(R"("Major Version": )" + typed("UInt", "2") + ", " + dsp + ", " + context),
         "major version 2 is not known"},
    };
    Util::Log::Capture log;
    for (const auto& c : cases) {
        uint8_t record[40] = {};
        const RecordView r(record);
        r.setU32(0, 3);
        r.setU32(8, uint32_t(c.chunk.size()));
        r.setU64(16, reinterpret_cast<uintptr_t>(c.chunk.data()));
        ASSERT_EQ(Entry::call(*plugin, 31, 1, record), 0) << c.name;
        EXPECT_EQ(record[4], 1) << c.name;
        EXPECT_EQ(values(*plugin), NonDefaults) << c.name;
        ASSERT_NE(contextOf(*plugin).property("Kept"), nullptr) << c.name;
        EXPECT_EQ(contextOf(*plugin).property("Kept")->asUInt(), 7u) << c.name;
        EXPECT_EQ(Entry::saveState(*plugin), good) << c.name;
        EXPECT_NE(log.messages().back().find(c.reason), std::string::npos) << c.name << ": " << log.messages().back();
    }
    EXPECT_TRUE(log.contains("The saved state was not restored"));
    // A null chunk pointer is refused the same way.
    uint8_t record[40] = {};
    RecordView(record).setU32(0, 4);
    RecordView(record).setU32(8, 64);
    ASSERT_EQ(Entry::call(*plugin, 31, 1, record), 0);
    EXPECT_EQ(record[4], 1);
    EXPECT_EQ(RecordView(record).u32(32), 0u);
}

TEST_F(HostSavedState, TheVariantRestoreAnswersWhetherItTookTheState)
{
    auto saved = make();
    setAll(*saved, NonDefaults);
    const auto chunk = Entry::saveState(*saved);
    auto fresh = make();
    uint8_t record[40] = {};
    const RecordView r(record);
    r.setU32(0, 4);
    r.setU32(8, uint32_t(chunk.size()));
    r.setU64(16, reinterpret_cast<uintptr_t>(chunk.data()));
    r.setF32(24, 0.5f);
    ASSERT_EQ(Entry::call(*fresh, 31, 1, record), 0);
    EXPECT_EQ(record[4], 0);
    EXPECT_EQ(r.u32(32), 1u);
    EXPECT_EQ(values(*fresh), NonDefaults);
}

TEST_F(HostSavedState, TheHistoryKeepsTheFirstFlavourChunk)
{
    auto saved = make();
    setAll(*saved, NonDefaults);
    EXPECT_EQ(saved->historyState(), Entry::saveState(*saved));
    auto fresh = make();
    ASSERT_TRUE(Entry::restoreState(*fresh, saved->historyState()));
    EXPECT_EQ(values(*fresh), NonDefaults);

    // Without a history file, the initial snapshot is the new instance's state.
    saved.reset();
    fresh.reset();
    std::filesystem::remove(Util::HistoryFile::pathFor(PluginFactoryImpl::product().definition(HostContext())));
    auto created = make();
    ASSERT_EQ(created->history().snapshots().size(), 1u);
    auto edited = make();
    setAll(*edited, NonDefaults);
    ASSERT_TRUE(Entry::restoreState(*edited, created->history().snapshots()[0].bytes));
    EXPECT_EQ(values(*edited), Defaults);
}

TEST_F(HostSavedState, ADamagedHistoryFileLeavesARunningInstanceWithItsOwnInitialState)
{
    const auto path = Util::HistoryFile::pathFor(PluginFactoryImpl::product().definition(HostContext()));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "not a history file";
    Util::Log::Capture log;
    auto plugin = make();
    EXPECT_TRUE(log.contains("Invalid magic number"));
    ASSERT_EQ(plugin->history().snapshots().size(), 1u);
    EXPECT_EQ(plugin->history().snapshots()[0].text, "<Initial State>");
    EXPECT_EQ(plugin->history().snapshots()[0].bytes, Entry::saveState(*plugin));
    setAll(*plugin, NonDefaults);
    EXPECT_EQ(values(*plugin), NonDefaults);
}

TEST_F(HostSavedState, TheSessionIdentifierIsTakenFromAStateThatCarriesOne)
{
    auto plugin = make();
    // The product keeps none in its state, but makes one when asked.
    EXPECT_FALSE(chunkText(Entry::saveState(*plugin)).isMember("Session UUID"));
    const std::string made = plugin->savedState().sessionIdentifier();
    ASSERT_EQ(made.size(), 36u);
    EXPECT_EQ(made[8], '-');
    EXPECT_EQ(made[14], '4'); // a random identifier
    EXPECT_NE(make()->savedState().sessionIdentifier(), made);

    const std::string text = R"({
        "Major Version": {"Type": "UInt", "Value": 1},
        "Session UUID": {"Type": "String", "Value": "0f8fad5b-d9cb-469f-a165-70867728950e"},
        "Context State": {"Type": "Dictionary", "Value": {}},
        "DSP State": {"Type": "Dictionary", "Value": {"DSP Elements": {"Type": "Dictionary", "Value": {}}}}
    })";
    ASSERT_TRUE(Entry::restoreState(*plugin, StateChunk::pack(text)));
    EXPECT_EQ(plugin->savedState().sessionIdentifier(), "0f8fad5b-d9cb-469f-a165-70867728950e");
}
