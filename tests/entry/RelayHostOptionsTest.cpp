#include <gtest/gtest.h>

#include "CommandLine.h"

#include <string>
#include <vector>

using RelayHost::CommandLine;
using RelayHost::Options;
using RelayHost::UsageError;

namespace {

std::vector<std::string> words(std::initializer_list<const char*> extra)
{
    std::vector<std::string> w{"render", "--in", "in.wav"};
    w.insert(w.end(), extra.begin(), extra.end());
    return w;
}

struct Refused {
    std::vector<std::string> arguments;
    const char* message; // the error names the option and what it takes
};

} // namespace

// Every refused command line gives a message that names the option and its range.
TEST(RelayHostOptions, RefusesWhatCannotRunNamingTheOptionAndItsRange)
{
    const char* const block = "--block: \"%\" is not a whole number from 1 to 65536";
    const Refused cases[] = {
        {words({"--block", "abc"}), block},
        {words({"--block", "1e3"}), block},
        {words({"--block", "512x"}), block},
        {words({"--block", "-1"}), block},
        {words({"--block", "+5"}), block},
        {words({"--block", " 5"}), block},
        {words({"--block", ""}), block},
        {words({"--block", "0"}), block},
        {words({"--block", "65537"}), block},
        {words({"--block", "99999999999"}), block},
        {words({"--block", "99999999999999999999999"}), block},
        {words({"--passes", "0"}), "--passes: \"%\" is not a whole number from 1 to 10000"},
        {words({"--passes", "-1"}), "--passes: \"%\" is not a whole number from 1 to 10000"},
        {words({"--idle-ms", "-1"}), "--idle-ms: \"%\" is not a whole number from 0 to 3600000"},
        {words({"--idle-ms", "1.5"}), "--idle-ms: \"%\" is not a whole number from 0 to 3600000"},
        {words({"--idle-every", "x"}), "--idle-every: \"%\" is not a whole number from 0 to 1000000"},
        {words({"--format", "12"}), "--format: \"%\" is not a whole number from 0 to 11"},
        {words({"--position", "-5"}), "--position: \"%\" is not a whole number from 0 to 9007199254740992"},
        {words({"--position", "9007199254740993"}), "--position: \"%\" is not a whole number from 0 to 9007199254740992"},
        {words({"--timeline-offset", "9223372036854775808"}), "--timeline-offset: \"%\" is not a whole number"},
        {words({"--timeline-offset", "-"}), "--timeline-offset: \"%\" is not a whole number"},
        {words({"--timeline-offset", "1.0"}), "--timeline-offset: \"%\" is not a whole number"},
        {words({"--instances", "0"}), "--instances: \"%\" is not a whole number from 1 to 256"},
        {words({"--instances", "257"}), "--instances: \"%\" is not a whole number from 1 to 256"},
        {words({"--run-state-before", "2,0"}), "--run-state-before: \"%\" is not A,B"},
        {words({"--run-state-after", "1"}), "--run-state-after: \"%\" is not A,B"},
        {words({"--run-state-after", "1,0,1"}), "--run-state-after: \"%\" is not A,B"},
        {words({"--await", "1"}), "--await: \"%\" is not PASS:STATE"},
        {words({"--await", "-1:2"}), "--await (pass): \"-1\" is not a whole number from 0 to 10000"},
        {words({"--await", "1:4"}), "--await (state): \"4\" is not a whole number from 0 to 3"},
        {words({"--passes", "2", "--await", "3:0"}), "--await: pass 3 is after the last pass (2)"},
        {words({"--press", "1:"}), "--press: \"%\" is not PASS:CONTROL NAME"},
        {words({"--block"}), "--block needs a value"},
        {words({"--blocks", "5"}), "unknown option: --blocks"},
        {{"render"}, "render needs --in"},
        {{"play"}, "unknown command: play"},
        {words({"--instances", "2", "--editor"}), "--instances: the window options"},
        {words({"--instances", "2", "--out", "out.wav"}), "--out: with --instances the name needs {instance}"},
    };
    for (const Refused& c : cases) {
        std::string expected = c.message;
        // "%" stands for the value given, the last word of the case.
        if (const auto at = expected.find('%'); at != std::string::npos)
            expected.replace(at, 1, c.arguments.back());
        SCOPED_TRACE(c.arguments.back());
        try {
            CommandLine::parse(c.arguments);
            ADD_FAILURE() << "accepted; expected: " << expected;
        } catch (const UsageError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected);
        }
    }
}

// The edges of every range are taken, and the steps after a pass keep their order.
TEST(RelayHostOptions, TakesTheEdgesOfEachRangeAndKeepsTheStepsInOrder)
{
    const Options o = CommandLine::parse(words({"--block", "65536", "--passes", "10000", "--position",
                                                "9007199254740992", "--timeline-offset", "-9223372036854775808",
                                                "--instances", "1", "--idle-ms", "0", "--format", "0",
                                                "--run-state-before", "1,0", "--press", "2:Discard Button",
                                                "--await", "1:3", "--screenshots", "w-{pass}.png"}));
    EXPECT_EQ(o.block, 65536u);
    EXPECT_EQ(o.passes, 10000u);
    EXPECT_EQ(o.position, uint64_t(1) << 53);
    EXPECT_EQ(o.timelineOffset, INT64_MIN);
    EXPECT_EQ(o.format, 0u);
    EXPECT_EQ(o.runStateBefore, std::make_pair(true, false));
    ASSERT_EQ(o.afterPass.size(), 2u);
    EXPECT_EQ(o.afterPass[0].kind, RelayHost::AfterPassStep::Kind::Press);
    EXPECT_EQ(o.afterPass[0].pass, 2u);
    EXPECT_EQ(o.afterPass[0].control, "Discard Button");
    EXPECT_EQ(o.afterPass[1].kind, RelayHost::AfterPassStep::Kind::AwaitState);
    EXPECT_EQ(o.afterPass[1].state, 3u);
    // Pictures need the window: off screen unless a real one was asked for.
    EXPECT_EQ(o.editor, Options::Editor::OffScreen);
    EXPECT_EQ(CommandLine::parse(words({"--editor-window", "--screenshots", "w.png"})).editor,
              Options::Editor::OnScreen);
    EXPECT_EQ(CommandLine::parse(words({"--block", "1"})).block, 1u);
    EXPECT_EQ(CommandLine::parse(words({})).editor, Options::Editor::Closed);
}
