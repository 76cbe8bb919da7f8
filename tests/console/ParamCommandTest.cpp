#include <gtest/gtest.h>

#include "ConsoleFixture.h"
#include "console/ParamCommandRequest.h"
#include "console/ParseCommandParamArgsError.h"
#include "core/ConsoleCommandManager.h"
#include "dsp/DSPSetImpl.h"
#include "dsp/Element.h"
#include "io/ConfigFile.h"
#include "util/Log.h"

#include <charconv>
#include <map>
#include <set>
#include <sstream>

namespace {

using ConsoleCommand::ParamCommandRequest;
using Mode = ParamCommandRequest::Mode;
using Set = ParamCommandRequest::Set;

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

float floatOf(const std::string& text)
{
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << "not a number: " << text;
    return value;
}

// One repetition's part of a clipboard text: its seed and its rows of columns.
struct Section {
    uint32_t seed = 0;
    std::vector<std::vector<std::string>> rows;
};

std::vector<Section> sectionsOf(const std::string& text)
{
    std::vector<Section> sections;
    const std::string heading = "Param snapshot\tFilter = none\tRandom seed = ";
    const std::string header = "Element Name\tParam Type\tParam Name\tSerialization Type\tMin Value\tMax Value\t"
                               "Default Value\tOriginal Value\tNew Value\tChange?\tEqual Default?\tSeed Value\tMatch Seed?";
    const auto lines = split(text, '\n');
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(heading, 0) == 0) {
            sections.push_back({uint32_t(std::stoul(lines[i].substr(heading.size()))), {}});
            EXPECT_EQ(i + 1 < lines.size() ? lines[i + 1] : "", header);
            ++i;
            continue;
        }
        EXPECT_FALSE(sections.empty()) << "a row before any heading: " << lines[i];
        if (sections.empty())
            break;
        const auto columns = split(lines[i], '\t');
        EXPECT_EQ(columns.size(), 13u) << lines[i];
        sections.back().rows.push_back(columns);
    }
    return sections;
}

const DSP::ParamDeclaration* declarationOf(Plugin& plugin, const std::string& element, const std::string& name)
{
    const auto found = plugin.elementSet().dspSet()->FindElement(element);
    const auto index = found ? found->FindParameter(name) : std::nullopt;
    return index ? found->GetParameterDeclaration(*index) : nullptr;
}

class ParamCommandTest : public ::testing::Test, public ConsoleFixture {
protected:
    std::vector<Section> lastSections() { return sectionsOf(clipboard.text()); }
};

TEST(ParamCommandRequestTest, WordsGiveTheRequest)
{
    const struct {
        Mode mode;
        std::vector<std::string> words;
        Set set;
        bool nonDefault;
        uint32_t repetitions;
        bool seedGiven;
        uint32_t seed;
    } cases[] = {
        {Mode::Scramble, {}, Set::Session, false, 1, false, 0},
        {Mode::Scramble, {"3x"}, Set::Session, false, 3, false, 0},
        {Mode::Scramble, {"ALL", "NonDefault", "1x", "42"}, Set::All, true, 1, true, 42},
        {Mode::Scramble, {"config", "session"}, Set::Session, false, 1, false, 0},
        {Mode::CompToSeed, {"7", "nondefault", "config"}, Set::Config, true, 1, true, 7},
        {Mode::CompToSeed, {"7", "3x"}, Set::Session, false, 1, true, 7},
        {Mode::Default, {"nondefault", "all"}, Set::All, false, 1, false, 0},
        {Mode::Snapshot, {"12", "x", "bogus"}, Set::Session, false, 1, true, 12},
        {Mode::CompToDefault, {"4294967295"}, Set::Session, false, 1, true, 4294967295u},
    };
    for (const auto& c : cases) {
        const auto request = ParamCommandRequest::parse(c.mode, c.words);
        const std::string label = ParamCommandRequest::nameOf(c.mode) + " " + ::testing::PrintToString(c.words);
        EXPECT_EQ(request.mode, c.mode) << label;
        EXPECT_EQ(request.set, c.set) << label;
        EXPECT_EQ(request.nonDefault, c.nonDefault) << label;
        EXPECT_EQ(request.repetitions, c.repetitions) << label;
        EXPECT_EQ(request.seedGiven, c.seedGiven) << label;
        if (c.seedGiven) {
            EXPECT_EQ(request.seed, c.seed) << label;
        }
    }
}

const char* const SeedNeed =
    "When comparing to a seed, a random seed must be given. We have a seed need that you need to feed, agreed?";
const char* const SeedGreed =
    "When scrambling params with more than one repetition, don't provide a seed. Your seed greed cannot proceed!";

TEST_F(ParamCommandTest, ALineThatFailsToParseShowsTheErrorAndChangesNothing)
{
    run("scramble 5 all");
    const auto before = elementValues();
    const Util::ConfigFile maker("SOFTWARE/Quillex");
    const bool enableBefore = maker.GetBool("RuntimeDesignEnable", false);
    const size_t textsBefore = clipboard.texts.size();

    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"scramble 3x 42", SeedGreed},
        {"scramble 42 all nondefault 2x", SeedGreed},
        {"comptoseed session", SeedNeed},
        {"comptoseed all nondefault", SeedNeed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.line), (Notice{"Error", c.error})) << c.line;
    EXPECT_EQ(elementValues(), before);
    EXPECT_EQ(Util::ConfigFile("SOFTWARE/Quillex").GetBool("RuntimeDesignEnable", false), enableBefore);
    EXPECT_EQ(clipboard.texts.size(), textsBefore);
}

TEST_F(ParamCommandTest, ScrambleRepeatedRunsEachRepetitionWithANewSeed)
{
    Util::Log::Capture log;
    EXPECT_EQ(run("scramble 3x"),
              (Notice{"Param Scramble", "Scrambled params 3 times successfully. Paste into Excel for details."}));
    const auto sections = lastSections();
    ASSERT_EQ(sections.size(), 3u);
    std::set<uint32_t> seeds;
    for (const auto& section : sections)
        seeds.insert(section.seed);
    EXPECT_EQ(seeds.size(), 3u);
    for (uint32_t repetition = 1; repetition <= 3; ++repetition)
        EXPECT_TRUE(log.contains(Util::format("Running repetition %1 of 3 with random seed %2 (mode = scramble, set "
                                              "= session, set non-default = no, filter = none)",
                                              repetition, sections[repetition - 1].seed)))
            << repetition;
    // Each repetition starts from where the one before left the values.
    for (size_t row = 0; row < sections[0].rows.size(); ++row)
        EXPECT_EQ(sections[1].rows[row][7], sections[0].rows[row][8]) << sections[1].rows[row][2];
}

TEST_F(ParamCommandTest, ComparingToTheSeedOfTheLastScrambleMatchesEveryParameter)
{
    const struct {
        const char* scramble;
        const char* compare;
    } cases[] = {{"scramble 7", "comptoseed 7"}, {"scramble all nondefault 1234", "comptoseed 1234 nondefault all"}};
    for (const auto& c : cases) {
        run(c.scramble);
        const auto scrambled = lastSections();
        ASSERT_EQ(scrambled.size(), 1u);
        const size_t count = scrambled[0].rows.size();
        size_t single = 0;
        for (const auto& row : scrambled[0].rows)
            single += row[4] == row[5] ? 1 : 0;
        EXPECT_EQ(run(c.compare),
                  (Notice{"Param Comp To Seed",
                          Util::format("%1 of %1 params match random values for the given seed (%2 have a range that "
                                       "only allows a single value, so they'll always match). Paste into Excel for "
                                       "details.",
                                       count, single)}))
            << c.compare;
    }
    // With nondefault every parameter that can differ from its default does.
    const auto compared = lastSections();
    ASSERT_EQ(compared.size(), 1u);
    for (const auto& row : compared[0].rows) {
        if (row[4] != row[5]) {
            EXPECT_EQ(row[10], "no") << row[2];
        }
    }
}

TEST_F(ParamCommandTest, AnotherSeedNamesTheFirstMismatch)
{
    run("scramble 7");
    const Notice notice = run("comptoseed 8");
    EXPECT_EQ(notice.title, "Param Comp To Seed");
    const auto rows = lastSections()[0].rows;
    const auto first = std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row[12] == "no"; });
    ASSERT_NE(first, rows.end());
    const auto matching = std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row[12] == "yes"; });
    EXPECT_EQ(notice.text,
              Util::format("%1 of %2 params match random values for the given seed (%3 have a range that only allows "
                           "a single value, so they'll always match). First mismatch: Element %4 %5 param %6 value "
                           "%7 seed %8.  Paste into Excel for details.",
                           matching, rows.size(),
                           std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row[4] == row[5]; }),
                           (*first)[0], (*first)[1], (*first)[2], (*first)[8], (*first)[11]));
}

TEST_F(ParamCommandTest, DefaultThenCompareToDefaultMatchesEveryParameter)
{
    run("scramble all nondefault 99");
    const Notice before = run("comptodefault all");
    EXPECT_NE(before.text.find("First mismatch: Element "), std::string::npos) << before.text;

    EXPECT_EQ(run("default all"),
              (Notice{"Param Set Defaults", "Set params to default values successfully. Paste into Excel for details."}));
    const auto rows = lastSections()[0].rows;
    size_t single = 0;
    for (const auto& row : rows) {
        EXPECT_EQ(floatOf(row[8]), floatOf(row[6])) << row[2];
        single += row[4] == row[5] ? 1 : 0;
    }
    EXPECT_EQ(run("comptodefault all"),
              (Notice{"Param Comp To Defaults",
                      Util::format("%1 of %1 params match their default values (%2 have a range that only allow the "
                                   "default value). Paste into Excel for details.",
                                   rows.size(), single)}));
    EXPECT_FALSE(Util::ConfigFile("SOFTWARE/Quillex").GetBool("PreventRuntimeDesign", true));
}

TEST_F(ParamCommandTest, TheSnapshotDescribesEveryParameterColumnByColumn)
{
    const FreshDesignSettings design;
    run("scramble all 5150");
    const auto values = elementValues();
    EXPECT_EQ(run("snapshot all 5150"), (Notice{"Param Snapshot", "Paste into Excel to see a snapshot of params."}));
    EXPECT_EQ(elementValues(), values);
    const auto sections = lastSections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].seed, 5150u);

    size_t elementRows = 0;
    std::set<std::string> configRows;
    for (const auto& row : sections[0].rows) {
        ASSERT_EQ(row.size(), 13u);
        EXPECT_EQ(row[7], row[8]) << row[2];
        EXPECT_EQ(row[9], "no") << row[2];
        EXPECT_EQ(row[10], floatOf(row[8]) == floatOf(row[6]) ? "yes" : "no") << row[2];
        // The scramble drew from the same seed: every value matches it.
        EXPECT_EQ(row[11], row[8]) << row[2];
        EXPECT_EQ(row[12], "yes") << row[2];
        if (row[3] == "config") {
            EXPECT_EQ(row[0], "SOFTWARE/Quillex");
            EXPECT_EQ(row[1], "bool");
            configRows.insert(row[2]);
            continue;
        }
        ++elementRows;
        EXPECT_EQ(row[3], "param");
        const auto* declaration = declarationOf(plugin, row[0], row[2]);
        ASSERT_NE(declaration, nullptr) << row[0] << " " << row[2];
        const char* type = declaration->kind == DSP::ParamKind::Bool   ? "bool"
                           : declaration->kind == DSP::ParamKind::Enum ? "enum"
                                                                        : "float";
        EXPECT_EQ(row[1], type) << row[2];
        EXPECT_EQ(floatOf(row[4]), declaration->minimum) << row[2];
        EXPECT_EQ(floatOf(row[5]), declaration->maximum) << row[2];
        EXPECT_EQ(floatOf(row[6]), declaration->defaultValue) << row[2];
        EXPECT_EQ(floatOf(row[8]), values.at(row[0] + "/" + row[2])) << row[2];
    }
    EXPECT_EQ(elementRows, values.size());
    EXPECT_EQ(configRows, (std::set<std::string>{"PreventRuntimeDesign", "RuntimeDesignEnable"}));
}

TEST_F(ParamCommandTest, EachSummaryHasItsTitle)
{
    const struct {
        const char* line;
        Notice notice;
    } cases[] = {
        {"snapshot", {"Param Snapshot", "Paste into Excel to see a snapshot of params."}},
        {"default config", {"Param Set Defaults", "Set params to default values successfully. Paste into Excel for details."}},
        {"scramble", {"Param Scramble", "Scrambled params successfully. Paste into Excel for details."}},
        {"scramble 2x nondefault",
         {"Param Scramble", "Scrambled params 2 times to non-default values successfully. Paste into Excel for details."}},
        {"scramble nondefault 3", {"Param Scramble", "Scrambled params to non-default values successfully. Paste into Excel for details."}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.line), c.notice) << c.line;
}

TEST_F(ParamCommandTest, DumpParamsListsEveryElementParameterAsARegistrationLine)
{
    EXPECT_EQ(run("dumpparams"), (Notice{"Params Dumped!", "WooHa, it worked! Paste your params list into Excel."}));
    const auto lines = split(clipboard.text(), '\n');
    const auto values = elementValues();
    ASSERT_EQ(lines.size(), values.size());
    for (const auto& line : lines) {
        const auto columns = split(line, '\t');
        ASSERT_EQ(columns.size(), 4u) << line;
        EXPECT_TRUE(values.count(columns[0] + "/" + columns[1])) << line;
        EXPECT_EQ(columns[2], columns[0] + "." + columns[1]);
        EXPECT_EQ(columns[3], columns[1]);
    }
}

} // namespace
