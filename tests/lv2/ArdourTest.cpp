// The plug-in in Ardour 7, headless: ardour7-lua builds a session with the
// stereo plug-in on a track and an imported region, plays it once with Pass on
// Preview (the instance captures the region: its state chunk changes), and
// saves it; a fresh ardour7-lua loads the session and saves it again, and
// ardour7-export renders it. The reloaded instance's state chunk is the saved
// one byte for byte, and the export is the imported audio sample for sample.
#include <gtest/gtest.h>

#include "InstalledBundle.h"
#include "Lv2Host.h"
#include "Noise.h"
#include "support/ChildProcess.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "util/Base64.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

using namespace Lv2Test;
using TestSupport::SoundFile;

namespace {

// Set where Ardour is part of the machine (scripts/test.sh): then its absence
// fails the test instead of skipping it.
constexpr const char* RequiredVariable = "RELAY_REQUIRE_ARDOUR";
constexpr int SampleRate = 48000;
constexpr size_t Frames = 48000 + 333; // not a whole number of Ardour's blocks
const std::string Script = std::string(RELAY_SOURCE_DIR) + "/tests/lv2/ardour_session.lua";
constexpr auto Bound = std::chrono::seconds(180); // a step on a loaded machine

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Written whole, then renamed into place: the script never reads half of it.
void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path + ".part", std::ios::binary) << text;
    std::filesystem::rename(path + ".part", path);
}

// The value of `attribute` in the first element at or after `from`.
std::string attributeAfter(const std::string& xml, size_t from, const std::string& attribute)
{
    const std::string opening = attribute + "=\"";
    const size_t at = xml.find(opening, from);
    if (from == std::string::npos || at == std::string::npos)
        return {};
    const size_t begin = at + opening.size();
    return xml.substr(begin, xml.find('"', begin) - begin);
}

// The state chunk that the session file's plug-in refers to: Ardour keeps an
// LV2 instance's state as a Turtle file in plugins/<processor id>/<state-dir>,
// our chunk in it as one base64 literal. Nothing when any part is missing.
std::optional<std::vector<uint8_t>> savedChunk(const std::string& session)
{
    const std::string xml = readFile(session + "/rt.ardour");
    const size_t plugin = xml.find(std::string("unique-id=\"") + InstalledBundle::Stereo + "\"");
    const size_t processor = plugin == std::string::npos ? plugin : xml.rfind("<Processor ", plugin);
    const std::string id = attributeAfter(xml, processor, "id");
    const std::string stateDir = attributeAfter(xml, plugin, "state-dir");
    if (id.empty() || stateDir.empty())
        return std::nullopt;
    const std::string turtle = readFile(session + "/plugins/" + id + "/" + stateDir + "/state.ttl");
    const std::string opening = "#state-chunk> \"\"\"";
    const size_t begin = turtle.find(opening);
    const size_t end = begin == std::string::npos ? begin : turtle.find("\"\"\"", begin + opening.size());
    if (end == std::string::npos)
        return std::nullopt;
    std::string text;
    for (char c : turtle.substr(begin + opening.size(), end - begin - opening.size()))
        if (!std::isspace(static_cast<unsigned char>(c)))
            text += c;
    return Util::Base64::decode(text);
}

// The tool's path, empty when it is not installed.
std::string toolPath(const std::string& name)
{
    const auto found = runCommand("command -v " + name);
    if (found.status != 0)
        return {};
    return found.output.substr(0, found.output.find('\n'));
}

class ArdourHost : public testing::Test {
protected:
    void SetUp() override
    {
        lua = toolPath("ardour7-lua");
        exporter = toolPath("ardour7-export");
        if (lua.empty() || exporter.empty()) {
            if (std::getenv(RequiredVariable))
                FAIL() << "ardour7-lua or ardour7-export is missing and " << RequiredVariable << " is set";
            GTEST_SKIP() << "Ardour 7 is not installed (Debian package ardour)";
        }
        InstalledBundle::lv2Path();
        const std::string dir = TestSupport::makeTempFolder("ardour");
        session = dir + "/rt";
        handshake = TestSupport::makeTempFolder("ardour-handshake");
        input = dir + "/noise.wav";
        ASSERT_TRUE(makeNoise(input, 2, SampleRate, Frames));
        for (const char* channel : {"1", "2"})
            ASSERT_EQ(runCommand("sox '" + input + "' -e floating-point -b 32 '" + dir + "/noise" + channel +
                                 ".wav' remix " + channel)
                          .status,
                      0);
        left = dir + "/noise1.wav";
        right = dir + "/noise2.wav";
    }

    // Each Ardour program is bounded: one that hangs fails the test with what
    // it said instead of holding it until ctest's own limit.
    static std::string bounded(const std::string& program) { return "timeout -k 10 240 '" + program + "'"; }

    CommandResult script(const std::string& arguments)
    {
        return runCommand(bounded(lua) + " '" + Script + "' " + arguments);
    }

    // Answers each save of the capture step: "done" once the saved chunk
    // holds the captured clip ("Shuttle State" 2), "again" before. The disk
    // thread finishes the clip a moment after the transport stops.
    bool answerSavesUntilCaptured()
    {
        const auto until = std::chrono::steady_clock::now() + Bound;
        std::string answered;
        while (std::chrono::steady_clock::now() < until) {
            const std::string saved = readFile(handshake + "/saved");
            if (!saved.empty() && saved != answered) {
                const auto chunk = savedChunk(session);
                const bool captured = chunk && Lv2Instance::shuttleStateIn(*chunk) == 2;
                writeFile(handshake + "/verdict", saved + (captured ? " done" : " again"));
                answered = saved;
                if (captured)
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    std::string lua, exporter, session, handshake, input, left, right;
};

} // namespace

TEST_F(ArdourHost, TheSessionKeepsTheStateChunkAndExportsTheAudioUnchanged)
{
    const auto created = script("create '" + session + "' " + InstalledBundle::Stereo);
    ASSERT_NE(created.output.find("round trip: created"), std::string::npos) << created.output;

    TestSupport::ChildProcess capture({"/bin/sh", "-c",
                                       "exec '" + lua + "' '" + Script + "' capture '" + session + "' '" + left +
                                           "' '" + right + "' " + std::to_string(Frames) + " '" + handshake + "'"});
    const bool captured = answerSavesUntilCaptured();
    const std::string finished = capture.expect("round trip: captured", captured ? Bound : std::chrono::seconds(5));
    std::string said;
    for (const auto& line : capture.log())
        said += line + "\n";
    ASSERT_TRUE(captured) << "no save of the capture step held the captured clip; ardour7-lua said:\n" << said;
    ASSERT_NE(finished, "") << said;
    const auto saved = savedChunk(session);
    ASSERT_TRUE(saved);

    const auto reloaded = script("reload '" + session + "'");
    ASSERT_NE(reloaded.output.find("round trip: reloaded"), std::string::npos) << reloaded.output;
    const auto again = savedChunk(session);
    ASSERT_TRUE(again);
    EXPECT_TRUE(*again == *saved) << "the reloaded instance saved another chunk: \"Shuttle State\" "
                                  << Lv2Instance::shuttleStateIn(*again) << " where the session had 2";

    const std::string output = TestSupport::makeTempFolder("ardour-export") + "/export.wav";
    const auto exported = runCommand(bounded(exporter) + " -b float -o '" + output + "' '" + session + "' rt");
    ASSERT_EQ(exported.status, 0) << exported.output;
    const auto in = SoundFile::open(input), out = SoundFile::open(output);
    ASSERT_TRUE(in.ok()) << in.error();
    ASSERT_TRUE(out.ok()) << out.error() << "\n" << exported.output;
    ASSERT_EQ(out.value().channels(), 2) << exported.output;
    EXPECT_EQ(out.value().frames(), in.value().frames());
    EXPECT_TRUE(out.value().interleaved() == in.value().interleaved());
}
