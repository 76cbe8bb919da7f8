#include <gtest/gtest.h>

#include "platform/ModuleResources.h"
#include "support/TestEnvironment.h"
#include "ui/Image.h"
#include "ui/ResourceManager.h"
#include "ui/ResourceTable.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct ReadEntry {
    uint32_t offset = 0;
    uint32_t size = 0;
    std::string hex;
};

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// The table as the independent reader (Python) sees it; empty with `error` set
// when it finds a broken rule.
std::map<std::string, ReadEntry> readIndependently(const std::string& table, std::string& error)
{
    const std::string out = run("/usr/bin/python3 " RELAY_UI_TEST_DIR "/read_resource_table.py '" + table + "'");
    std::map<std::string, ReadEntry> entries;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("error:", 0) == 0) {
            error = line;
            return {};
        }
        std::istringstream fields(line);
        ReadEntry e;
        std::string name;
        fields >> e.offset >> e.size >> e.hex;
        std::getline(fields >> std::ws, name);
        entries[name] = e;
    }
    return entries;
}

std::string hexOf(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex.empty() ? "-" : hex;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string withCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

TEST(ResourceTable, APackedTableFollowsEveryLayoutRule)
{
    // Sizes around the 32-byte alignment, an empty file, names whose byte
    // order differs from a case-blind or locale order, and text to convert.
    const fs::path source = TestSupport::makeTempFolder("pack");
    const std::map<std::string, std::string> files = {
        {"a.bin", std::string(31, '\x01')},     {"B.bin", std::string(32, '\x02')},
        {"a/b.bin", std::string(33, '\x03')},   {"a-b.bin", ""},
        {"Z/\xc3\xa9.bin", std::string(1, 'x')}, {"x.layout", "<a>\n<b/>\r\n</a>\n"},
        {".hidden", "not packed"},
    };
    for (const auto& [name, bytes] : files)
        writeFile(source / name, bytes);
    const fs::path output = TestSupport::makeTempFolder("out");
    const std::string table = (output / "t.bin").string();
    ASSERT_EQ(std::system((std::string(RELAY_RESPACK_PATH) + " '" + table + "' '" + (output / "t.cpp").string() +
                           "' Res/='" + source.string() + "' > /dev/null")
                              .c_str()),
              0);

    std::string error;
    const auto entries = readIndependently(table, error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(entries.size(), files.size() - 1);
    EXPECT_EQ(entries.count("Res/.hidden"), 0u);
    for (const auto& [name, bytes] : files) {
        if (name == ".hidden")
            continue;
        const auto it = entries.find("Res/" + name);
        ASSERT_NE(it, entries.end()) << name;
        const std::string expected = name.ends_with(".layout") ? withCrLf(bytes) : bytes;
        EXPECT_EQ(it->second.hex, hexOf(expected)) << name;
    }

    // A padding byte that is not zero, or an entry moved off its alignment,
    // is noticed: the reader is no rubber stamp.
    const std::string bytes = readFile(table);
    const auto& a = entries.at("Res/a.bin");
    std::string damaged = bytes;
    damaged[a.offset + a.size] = 1;
    writeFile(output / "padding.bin", damaged);
    error.clear();
    readIndependently((output / "padding.bin").string(), error);
    EXPECT_NE(error.find("non-zero padding"), std::string::npos) << error;

    // Our own reader agrees entry by entry.
    const auto view = UI::ResourceTable::read(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    ASSERT_TRUE(view);
    ASSERT_EQ(view->entries().size(), entries.size());
    for (const auto& [name, entry] : view->entries()) {
        EXPECT_EQ(entry.offset, entries.at(name).offset) << name;
        EXPECT_EQ(entry.size, entries.at(name).size) << name;
    }
}

TEST(ResourceTable, TheProductTableHoldsTheWindowResources)
{
    std::string error;
    const auto entries = readIndependently(RELAY_RESOURCE_TABLE_PATH, error);
    ASSERT_TRUE(error.empty()) << error;

    // The table linked into the library is the one built.
    const auto linked = Platform::moduleResource("QXRESEMBED", "QxResEmbed");
    ASSERT_TRUE(linked);
    EXPECT_EQ(hexOf(readFile(RELAY_RESOURCE_TABLE_PATH)),
              hexOf(std::string(reinterpret_cast<const char*>(linked->data()), linked->size())));

    const std::string layout = readFile(fs::path(RELAY_SOURCE_DIR) / "resources/UI/Layout/Layout_MainWindow.layout");
    ASSERT_TRUE(entries.count("UI/Layout/Layout_MainWindow.layout"));
    EXPECT_EQ(entries.at("UI/Layout/Layout_MainWindow.layout").hex, hexOf(withCrLf(layout)));
    ASSERT_TRUE(entries.count("UI/StyleSheet.json"));

    struct Expected {
        std::string base;
        std::vector<std::string> suffixes;
        int width, height;
    };
    const std::vector<std::string> sixStates = {"Off", "OffClick", "OffHover", "On", "OnClick", "OnHover"};
    const std::vector<std::string> fourStates = {"Normal", "Pressed", "MouseOverNormal", "MouseOverPressed"};
    const Expected images[] = {
        {"png/buttonOneWay", sixStates, 49, 49},          {"png/buttonRoundTrip", sixStates, 49, 49},
        {"png/CloseButtonLight", fourStates, 13, 13},     {"png/ShuttleTrash", fourStates, 21, 22},
        {"png/TW_Relay_Waveform_Gray", {""}, 428, 24},    {"png/TW_Relay_Waveform_Blue", {""}, 428, 24},
        {"png/TW_Relay_Waveform_Gradient", {""}, 449, 110},
    };
    for (const auto& expected : images)
        for (const auto& suffix : expected.suffixes) {
            const std::string name = expected.base + suffix + ".png";
            const auto data = UI::ResourceManager::instance().find(name);
            ASSERT_TRUE(data) << name;
            const auto image = UI::Image::decodePng(data->bytes);
            ASSERT_TRUE(image) << name;
            EXPECT_EQ(image->width(), expected.width) << name;
            EXPECT_EQ(image->height(), expected.height) << name;
        }
    for (const char* part : {"TopLeft", "Top", "TopRight", "Left", "Center", "Right", "BottomLeft", "Bottom", "BottomRight"})
        EXPECT_TRUE(entries.count(std::string("png/PopoverBackground_") + part + ".png")) << part;
}

TEST(ResourceTable, LookUpIsExactAndCaseSensitive)
{
    auto& resources = UI::ResourceManager::instance();
    EXPECT_TRUE(resources.find("UI/Layout/Layout_MainWindow.layout"));
    for (const char* wrong : {"ui/layout/layout_mainwindow.layout", "UI/Layout/Layout_MainWindow.LAYOUT",
                              "UI/Layout/Layout_MainWindow", "/UI/Layout/Layout_MainWindow.layout", ""})
        EXPECT_FALSE(resources.find(wrong)) << wrong;
    EXPECT_FALSE(Platform::moduleResource("QXRESEMBED", "Other"));
    EXPECT_TRUE(Platform::moduleResource("qxresembed", "QXRESEMBED"));
}

TEST(ResourceTable, TheOverrideFolderWinsOverTheTable)
{
    auto& resources = UI::ResourceManager::instance();
    const auto fromTable = resources.find("UI/StyleSheet.json");
    ASSERT_TRUE(fromTable);

    const fs::path folder = TestSupport::makeTempFolder("override");
    writeFile(folder / "UI/StyleSheet.json", "{\"Classes\": []}");
    resources.setOverrideFolder(folder.string());
    const auto overridden = resources.find("UI/StyleSheet.json");
    const auto notOverridden = resources.find("UI/Layout/Layout_MainWindow.layout");
    resources.setOverrideFolder({});

    ASSERT_TRUE(overridden);
    EXPECT_EQ(std::string(overridden->bytes.begin(), overridden->bytes.end()), "{\"Classes\": []}");
    ASSERT_TRUE(notOverridden) << "a name missing from the folder still comes from the table";
    const auto again = resources.find("UI/StyleSheet.json");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->bytes.data(), fromTable->bytes.data());
}

TEST(ResourceTable, ABrokenDirectoryIsRefused)
{
    auto table = [](std::initializer_list<uint8_t> bytes) { return std::vector<uint8_t>(bytes); };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool good;
    };
    const Case cases[] = {
        {"empty directory", table({0, 0, 0, 0}), true},
        {"no end of directory", table({'a', 0, 16, 0, 0, 0, 1, 0, 0, 0}), false},
        {"entry cut short", table({'a', 0, 16, 0, 0}), false},
        {"data past the end", table({'a', 0, 12, 0, 0, 0, 9, 0, 0, 0, 0, 0, 1}), false},
        {"one entry", table({'a', 0, 11, 0, 0, 0, 1, 0, 0, 0, 0, 'x'}), true},
    };
    for (const auto& c : cases) {
        std::string reason;
        const auto view = UI::ResourceTable::read(c.bytes, &reason);
        EXPECT_EQ(view.has_value(), c.good) << c.what;
        EXPECT_EQ(reason.empty(), c.good) << c.what;
    }
    const std::vector<uint8_t> one = {'a', 0, 11, 0, 0, 0, 1, 0, 0, 0, 0, 'x'};
    const auto view = UI::ResourceTable::read(one);
    ASSERT_TRUE(view);
    const auto found = view->find("a");
    ASSERT_TRUE(found);
    EXPECT_EQ((*found)[0], 'x');
    EXPECT_FALSE(view->find("A"));
}
