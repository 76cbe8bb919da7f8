#include <gtest/gtest.h>

#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int run(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()); }

} // namespace

TEST(RelayHost, RendersATenSecondStereoFileUnchanged)
{
    const std::string dir = TestSupport::makeTempFolder("host");
    const std::string in = dir + "/in.wav", out = dir + "/out.wav";
    // Noise exercises every bit of the samples; sox writes the input independently.
    ASSERT_EQ(run("sox -n -r 48000 -c 2 -e floating-point -b 32 " + in + " synth 10 whitenoise gain -6"), 0);
    ASSERT_EQ(run(std::string(RELAY_HOST_PATH) + " render --in " + in + " --out " + out + " --block 441"), 0);
    const auto source = TestSupport::SoundFile::open(in), rendered = TestSupport::SoundFile::open(out);
    ASSERT_TRUE(source.ok()) << source.error();
    ASSERT_TRUE(rendered.ok()) << rendered.error();
    EXPECT_EQ(rendered.value().frames(), 480000);
    EXPECT_EQ(rendered.value().channels(), 2);
    EXPECT_EQ(rendered.value().sampleRate(), 48000);
    const auto sourceSamples = source.value().interleaved(), renderedSamples = rendered.value().interleaved();
    ASSERT_EQ(sourceSamples.size(), renderedSamples.size());
    EXPECT_TRUE(sourceSamples == renderedSamples);
}

TEST(RelayHost, PresentsItselfUnderTheGivenName)
{
    // `info` asks selector 0 only: the first call of a fresh process, before any
    // instance exists. Host 2 above 11.3.0 turns switch F5 off; any other host
    // keeps it on.
    const std::string host = RELAY_HOST_PATH;
    const std::string dir = TestSupport::makeTempFolder("name");
    struct Case {
        const char* name;
        const char* version;
        const char* switches;
    };
    const Case cases[] = {
        {"\"Pro Tools\"", "11.3.1", "0, 0"},
        {"\"Pro Tools\"", "11.3.0", "1, 0"},
        {"Cubase", "11.3.1", "1, 0"},
    };
    for (const auto& c : cases) {
        const std::string out = dir + "/info.txt";
        ASSERT_EQ(run(host + " info --as " + c.name + " --host-version " + c.version + " > " + out), 0);
        EXPECT_EQ(run("grep -q 'switch F5, F8:      " + std::string(c.switches) + "' " + out), 0)
            << c.name << " " << c.version;
    }
}

// --verbose traces the library's calls from the very first, selector 0, which
// `info` makes before any instance exists.
TEST(RelayHost, VerboseTracesSelectorZero)
{
    const std::string dir = TestSupport::makeTempFolder("verbose");
    const std::string trace = dir + "/trace.txt";
    ASSERT_EQ(std::system((std::string(RELAY_HOST_PATH) + " info --verbose >/dev/null 2>" + trace).c_str()), 0);
    EXPECT_EQ(run("grep -qx 'relay-host: instance 0 selector 0 (lock 0) -> 0' " + trace), 0);
}

// The program's exit codes and last words: 2 for a command line it cannot run,
// 1 for what fails before rendering, which then never starts.
TEST(RelayHost, RefusesBeforeRenderingWithAMessageAndItsCode)
{
    const std::string host = RELAY_HOST_PATH;
    const std::string dir = TestSupport::makeTempFolder("refuse");
    ASSERT_EQ(run("sox -n -r 48000 -c 25 -e floating-point -b 32 " + dir + "/wide.wav synth 0.1 sine 440"), 0);
    ASSERT_EQ(run("sox -n -r 48000 -c 2 -e floating-point -b 32 " + dir + "/in.wav synth 0.1 sine 440"), 0);
    struct Case {
        std::string arguments;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {"render", 2, "relay-host: render needs --in"},
        {"render --in x --block", 2, "relay-host: --block needs a value"},
        {"render --in x --passes -1", 2, "relay-host: --passes: \"-1\" is not a whole number from 1 to 10000"},
        {"render --in /nonexistent.wav", 1, "relay-host: cannot read /nonexistent.wav"},
        {"render --in " + dir + "/wide.wav", 1,
         "relay-host: " + dir + "/wide.wav has 25 channels; the plug-in core describes 1 to 24"},
        {"render --in " + dir + "/in.wav --out " + dir + "/no/out.wav", 1,
         "relay-host: cannot write " + dir + "/no/out.wav: no folder " + dir + "/no"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string err = dir + "/err.txt";
        EXPECT_EQ(std::system((host + " " + c.arguments + " 2> " + err + " > /dev/null").c_str()), c.code << 8);
        std::ifstream in(err);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.substr(0, c.message.size()), c.message);
        EXPECT_EQ(text.find("rendered"), std::string::npos) << "nothing renders";
    }
    EXPECT_EQ(run(host + " --help > /dev/null"), 0);
}
