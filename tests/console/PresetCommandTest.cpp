#include <gtest/gtest.h>

#include "ConsoleFixture.h"
#include "core/StateChunk.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

struct PresetCommandTest : ::testing::Test, ConsoleFixture {
    PresetCommandTest()
    {
        fs::remove_all(folder);
        fs::create_directories(folder);
        plugin.settings().SetBool("PresetVerbose", false);
    }

    // A preset file of the instance's state after `line`, and the values it holds.
    std::map<std::string, float> writePreset(const std::string& name, const std::string& line)
    {
        run(line);
        const auto& chunk = plugin.savedState().chunk(PluginState::Flavour::First);
        std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(chunk.data()),
                                                             std::streamsize(chunk.size()));
        return elementValues();
    }

    std::vector<uint8_t> bytesOf(const std::string& name)
    {
        std::ifstream in(folder / name, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // What a new instance holds after restoring a preset file.
    std::map<std::string, float> restored(const std::string& name)
    {
        ConsoleFixture fresh;
        const auto bytes = bytesOf(name);
        EXPECT_TRUE(fresh.plugin.savedState().restore(bytes.data(), uint32_t(bytes.size()))) << name;
        return fresh.elementValues();
    }

    std::string textOf(const std::string& name)
    {
        const auto bytes = bytesOf(name);
        return StateChunk::unpack(bytes.data(), bytes.size()).value_or("");
    }

    const fs::path folder = fs::path(std::getenv("HOME")) / "Documents/Quillex/VU 6 Verov Edodod/Presets/Relay";
};

TEST_F(PresetCommandTest, SaveAllWritesEveryPresetAgainInTheCurrentSettings)
{
    const auto first = writePreset("first.preset", "scramble 11");
    const auto second = writePreset("second.preset", "default");
    std::ofstream(folder / "notes.txt") << "not a preset";
    const auto own = writePreset("unused", "scramble 77");
    fs::remove(folder / "unused");

    EXPECT_EQ(run("preset status"), (Notice{"Preset Status", "Preset folder: " + folder.string() +
                                                                 "\nPresets there: 2\nVerbose preset files: off"}));
    EXPECT_EQ(run("preset saveall"),
              (Notice{"Preset Save All", "Saved 2 of 2 presets in \"" + folder.string() + "\"."}));
    EXPECT_EQ(elementValues(), own);
    EXPECT_EQ(restored("first.preset"), first);
    EXPECT_EQ(restored("second.preset"), second);
    // Without verbose, parameters at their defaults are left out.
    EXPECT_EQ(textOf("second.preset").find("\"Gain\""), std::string::npos);
    EXPECT_EQ(textOf("first.preset").find("Preset Parameters"), std::string::npos);

    EXPECT_EQ(run("preset verbose on").text,
              "Preset folder: " + folder.string() + "\nPresets there: 2\nVerbose preset files: on");
    run("preset saveall");
    EXPECT_EQ(restored("first.preset"), first);
    EXPECT_EQ(restored("second.preset"), second);
    const std::string verbose = textOf("second.preset");
    EXPECT_NE(verbose.find("\"Gain\""), std::string::npos);
    EXPECT_NE(verbose.find("Preset Parameters"), std::string::npos);
    EXPECT_NE(verbose.find("\"Maximum\""), std::string::npos);
    EXPECT_EQ(run("preset verbose off").text,
              "Preset folder: " + folder.string() + "\nPresets there: 2\nVerbose preset files: off");
}

} // namespace
