#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

#include <cstdlib>
#include <sndfile.h>
#include <string>
#include <vector>

namespace {

struct Audio {
    SF_INFO info{};
    std::vector<float> interleaved;
};

Audio readWithLibsndfile(const std::string& path)
{
    Audio a;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &a.info);
    if (!f)
        return a;
    a.interleaved.resize(size_t(a.info.frames * a.info.channels));
    sf_readf_float(f, a.interleaved.data(), a.info.frames);
    sf_close(f);
    return a;
}

int run(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()); }

} // namespace

TEST(RelayHost, RendersATenSecondStereoFileUnchanged)
{
    const std::string dir = TestSupport::makeTempFolder("host");
    const std::string in = dir + "/in.wav", out = dir + "/out.wav";
    // Noise exercises every bit of the samples; sox writes the input independently.
    ASSERT_EQ(run("sox -n -r 48000 -c 2 -e floating-point -b 32 " + in + " synth 10 whitenoise gain -6"), 0);
    ASSERT_EQ(run(std::string(RELAY_HOST_PATH) + " render --in " + in + " --out " + out + " --block 441"), 0);
    const Audio source = readWithLibsndfile(in), rendered = readWithLibsndfile(out);
    EXPECT_EQ(rendered.info.frames, 480000);
    EXPECT_EQ(rendered.info.channels, 2);
    EXPECT_EQ(rendered.info.samplerate, 48000);
    ASSERT_EQ(source.interleaved.size(), rendered.interleaved.size());
    EXPECT_TRUE(source.interleaved == rendered.interleaved);
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

TEST(RelayHost, RejectsBadArgumentsWithAMessage)
{
    const std::string host = RELAY_HOST_PATH;
    EXPECT_NE(run(host + " render"), 0);
    EXPECT_NE(run(host + " render --in /nonexistent.wav"), 0);
    EXPECT_NE(run(host + " render --in x --block"), 0);
    EXPECT_EQ(run(host + " --help > /dev/null"), 0);
}
