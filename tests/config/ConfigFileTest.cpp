#include <gtest/gtest.h>

#include "platform/Folders.h"
#include "platform/posix/SqliteSettingsStore.h"
#include "support/ScopedVariable.h"
#include "support/TestEnvironment.h"
#include "io/ConfigFile.h"
#include "util/Log.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

using Util::ConfigFile;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

namespace {

const char* const kProductKey = "SOFTWARE\\Quillex\\TW6Relay";

struct Row {
    int type = -1;
    Bytes data;
};

// Reads what the database holds, with SQLite itself rather than the store.
class RawDatabase {
public:
    explicit RawDatabase(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
    ~RawDatabase() { sqlite3_close(db_); }

    Row row(const std::string& key, const std::string& name) const
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_, "SELECT type, data FROM registry_values WHERE key = ? AND name = ?", -1, &s, nullptr);
        sqlite3_bind_text(s, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        Row r;
        if (sqlite3_step(s) == SQLITE_ROW) {
            r.type = sqlite3_column_int(s, 0);
            const auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(s, 1));
            r.data.assign(p, p + sqlite3_column_bytes(s, 1));
        }
        sqlite3_finalize(s);
        return r;
    }

    void put(const std::string& key, const std::string& name, int type, const Bytes& data)
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO registry_values VALUES (?, ?, ?, ?)", -1, &s, nullptr);
        sqlite3_bind_text(s, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 3, type);
        sqlite3_bind_blob(s, 4, data.data(), int(data.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(s), SQLITE_DONE);
        sqlite3_finalize(s);
    }

    std::string text(const char* sql) const
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &s, nullptr);
        std::string out;
        while (sqlite3_step(s) == SQLITE_ROW)
            out += std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))) + ";";
        sqlite3_finalize(s);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ConfigFileTest : public ::testing::Test {
protected:
    std::string dbPath = TestSupport::makeTempFolder("cfg") + "/Quillex/registry.sqlite3";
    Platform::Posix::SqliteSettingsStore store{dbPath};
    ConfigFile config{kProductKey, store};
};

} // namespace

TEST_F(ConfigFileTest, ValuesAreStoredWithTheRegistryTypesAndEncodings)
{
    config.SetString("Name", "h\xC3\xA9\xF0\x9F\x8E\xB5");       // h, e acute, one astral character
    config.SetString("Empty", "");
    config.SetBool("Flag", true);
    config.SetUInt("Count", 0x01020304);
    config.SetUInt64("Big", 0x0102030405060708ull);
    config.SetFloat("Gain", 1.0f);
    config.SetBytes("Blob", Bytes{9, 0, 7});

    RawDatabase raw(dbPath);
    struct Case {
        const char* name;
        int type;
        Bytes data;
    };
    const Case cases[] = {
        {"Name", 1, {'h', 0, 0xE9, 0, 0x3C, 0xD8, 0xB5, 0xDF, 0, 0}},
        {"Empty", 1, {0, 0}},
        {"Flag", 4, {1, 0, 0, 0}},
        {"Count", 4, {4, 3, 2, 1}},
        {"Big", 11, {8, 7, 6, 5, 4, 3, 2, 1}},
        {"Gain", 3, {0, 0, 0x80, 0x3F}},
        {"Blob", 3, {9, 0, 7}},
    };
    for (const auto& c : cases) {
        const Row row = raw.row(kProductKey, c.name);
        EXPECT_EQ(row.type, c.type) << c.name;
        EXPECT_EQ(row.data, c.data) << c.name;
    }
    EXPECT_EQ(raw.text("PRAGMA journal_mode"), "wal;");
    EXPECT_EQ(raw.text("SELECT key FROM registry_keys ORDER BY key"),
              "SOFTWARE;SOFTWARE\\Quillex;SOFTWARE\\Quillex\\TW6Relay;");

    EXPECT_EQ(config.GetString("Name", "x"), "h\xC3\xA9\xF0\x9F\x8E\xB5");
    EXPECT_EQ(config.GetString("Empty", "x"), "");
    EXPECT_TRUE(config.GetBool("Flag", false));
    EXPECT_EQ(config.GetUInt("Count", 0), 0x01020304u);
    EXPECT_EQ(config.GetUInt64("Big", 0), 0x0102030405060708ull);
    EXPECT_EQ(config.GetFloat("Gain", 0.5f), 1.0f);
    Bytes blob;
    config.GetBytes("Blob", blob);
    EXPECT_EQ(blob, (Bytes{9, 0, 7}));
}

TEST_F(ConfigFileTest, WrongTypeOrSizeGivesTheDefault)
{
    config.SetUInt("Dword", 5);
    config.SetString("Text", "abc");
    config.SetBytes("Blob8", Bytes(8, 1));
    {
        RawDatabase raw(dbPath);
        raw.put(kProductKey, "ShortDword", 4, {1, 0});
        raw.put(kProductKey, "LongDword", 4, {1, 0, 0, 0, 0});
        raw.put(kProductKey, "ShortQword", 11, {1, 0, 0, 0});
        raw.put(kProductKey, "OddText", 1, {'a', 0, 'b'});
    }
    EXPECT_EQ(config.GetFloat("Dword", 0.25f), 0.25f);
    EXPECT_EQ(config.GetUInt64("Dword", 77), 77u);
    EXPECT_EQ(config.GetString("Dword", "dflt"), "dflt");
    EXPECT_EQ(config.GetUInt("Text", 42), 42u);
    EXPECT_TRUE(config.GetBool("Text", true));
    EXPECT_EQ(config.GetFloat("Blob8", 0.5f), 0.5f);
    EXPECT_EQ(config.GetUInt("Blob8", 3), 3u);
    EXPECT_EQ(config.GetUInt("ShortDword", 9), 9u);
    EXPECT_FALSE(config.GetBool("LongDword", false));
    EXPECT_EQ(config.GetUInt64("ShortQword", 8), 8u);
    EXPECT_EQ(config.GetString("OddText", ""), "a"); // the stray byte is not half a character
    EXPECT_EQ(config.GetUInt("Missing", 11), 11u);
    Bytes bytes{1};
    config.GetBytes("Text", bytes);
    EXPECT_TRUE(bytes.empty());
}

TEST_F(ConfigFileTest, KeysSplitAtTheirLastSeparatorOfEitherKind)
{
    config.SetUInt("Window/Size\\Width", 640);
    RawDatabase raw(dbPath);
    EXPECT_EQ(raw.row("SOFTWARE\\Quillex\\TW6Relay\\Window\\Size", "Width").data, (Bytes{0x80, 2, 0, 0}));
    EXPECT_EQ(config.GetUInt("Window\\Size/Width", 0), 640u);
    EXPECT_EQ(config.GetUInt("/Window//Size/Width", 0), 640u);

    ConfigFile slashes("SOFTWARE/Quillex/TW6Relay/", store);
    EXPECT_EQ(slashes.GetPath(), kProductKey);
    EXPECT_EQ(slashes.GetUInt("window/size/width", 0), 640u); // names ignore ASCII case
    ConfigFile window("SOFTWARE\\Quillex\\TW6Relay\\Window", store);
    EXPECT_EQ(window.GetUInt("Size/Width", 0), 640u);
}

TEST_F(ConfigFileTest, ListingAndRemovalWorkOnTheKeyTree)
{
    config.SetUInt("A", 1);
    config.SetUInt("B", 2);
    config.SetUInt("Sub1/X", 3);
    config.SetUInt("Sub1/Deep/Y", 4);
    config.SetUInt("Sub2/Z", 5);
    std::vector<std::string> names{"stale"};
    config.GetValueNames("", names);
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
    config.GetSubKeys("", names);
    EXPECT_EQ(names, (std::vector<std::string>{"Sub1", "Sub2"}));
    config.GetSubKeys("Sub1", names);
    EXPECT_EQ(names, (std::vector<std::string>{"Deep"}));

    config.RemoveValue("A");
    config.RemoveValue("NotThere");
    config.RemoveKey("Sub1");
    config.RemoveKey("NoSuchKey");
    EXPECT_EQ(config.GetUInt("A", 0), 0u);
    EXPECT_EQ(config.GetUInt("B", 0), 2u);
    EXPECT_EQ(config.GetUInt("Sub1/Deep/Y", 0), 0u);
    EXPECT_EQ(config.GetUInt("Sub2/Z", 0), 5u);
    config.GetSubKeys("", names);
    EXPECT_EQ(names, (std::vector<std::string>{"Sub2"}));
}

TEST_F(ConfigFileTest, CopyKeepsTheTypeAndTheBytes)
{
    ConfigFile editor("SOFTWARE\\Quillex\\TW6", store);
    editor.SetString("Session/Folder", "/data/session");
    editor.SetBytes("Session/Raw", Bytes{1, 2, 3});
    config.CopyValueFrom("Session/Folder", editor);
    config.CopyValueFrom("Session/Raw", editor);
    config.CopyValueFrom("Session/Missing", editor);
    EXPECT_EQ(config.GetString("Session/Folder", ""), "/data/session");
    Bytes raw;
    config.GetBytes("Session/Raw", raw);
    EXPECT_EQ(raw, (Bytes{1, 2, 3}));
    std::vector<std::string> names;
    config.GetValueNames("Session", names);
    EXPECT_EQ(names, (std::vector<std::string>{"Folder", "Raw"}));
}

TEST(ConfigFile, TheCurrentUsersStoreLivesUnderTheConfigFolderAndIsMadeOnTheFirstWrite)
{
    // A configuration folder no test has written to yet.
    const std::string folder = TestSupport::makeTempFolder("config");
    const TestSupport::ScopedVariable configHome("XDG_CONFIG_HOME", folder.c_str());
    const std::string path = Platform::configFolder() + "/Quillex/registry.sqlite3";
    ASSERT_EQ(path, folder + "/Quillex/registry.sqlite3");
    ConfigFile config(kProductKey);
    EXPECT_EQ(config.GetUInt("Never", 3), 3u);
    std::vector<std::string> names{"x"};
    config.GetSubKeys("", names);
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(fs::exists(path)) << "a read created the database";
    config.SetBool("ShuttleOpenFilesAtStartUp", true);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(ConfigFile(kProductKey).GetBool("ShuttleOpenFilesAtStartUp", false));
}

TEST(ConfigFile, AFileThatIsNotADatabaseGivesDefaultsAndIsNeverChanged)
{
    std::mt19937 random(7);
    std::string noise(8192, '\0');
    for (auto& c : noise)
        c = char(random());
    const std::string contents[] = {"This is my shopping list, not a database.\n", noise,
                                    std::string("SQLite format 3\0", 16) + noise};
    for (const auto& content : contents) {
        const std::string folder = TestSupport::makeTempFolder("garbage");
        const std::string path = folder + "/registry.sqlite3";
        std::ofstream(path, std::ios::binary) << content;
        Platform::Posix::SqliteSettingsStore store(path);
        ConfigFile config(kProductKey, store);
        Util::Log::Capture log;
        Util::Log::setEcho(false);
        EXPECT_EQ(config.GetUInt("Count", 12), 12u);
        EXPECT_EQ(config.GetString("Name", "dflt"), "dflt");
        config.SetUInt("Count", 5);
        config.SetString("Name", "x");
        config.RemoveKey("Sub");
        EXPECT_EQ(config.GetUInt("Count", 12), 12u);
        Util::Log::setEcho(true);
        EXPECT_EQ(readFile(path), content);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
            << "side files were left beside it";
        EXPECT_TRUE(log.contains("Settings store " + path)) << "nothing was logged";
        EXPECT_LE(log.messages().size(), 2u) << "each failing call logged again";
    }
}

// Two processes hammer one brand-new database with writes and reads of shared
// and private keys. No write may be lost and none may fail on a lock.
TEST(ConfigFile, TwoProcessesShareTheStoreWithoutLosingValues)
{
    const std::string path = TestSupport::makeTempFolder("shared") + "/Quillex/registry.sqlite3";
    constexpr int kRounds = 300;
    constexpr uint32_t kMissing = 0xFFFFFFFF;

    auto work = [&](int process) -> int {
        Platform::Posix::SqliteSettingsStore store(path);
        ConfigFile config(kProductKey, store);
        Util::Log::Capture log;
        int faults = 0;
        for (int i = 0; i < kRounds; ++i) {
            const uint32_t mine = uint32_t(process * 100000 + i);
            config.SetUInt(Util::format("Shared/Slot%1", i % 10), mine);
            config.SetUInt(Util::format("Process%1/Value%2", process, i), mine);
            if (config.GetUInt(Util::format("Process%1/Value%2", process, i), kMissing) != mine)
                ++faults;
            if (config.GetUInt(Util::format("Shared/Slot%1", i % 10), kMissing) == kMissing)
                ++faults;
        }
        return faults + int(log.messages().size());
    };

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(std::min(work(1), 255));
    const int parentFaults = work(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "faults in the child";
    EXPECT_EQ(parentFaults, 0);

    Platform::Posix::SqliteSettingsStore store(path);
    ConfigFile config(kProductKey, store);
    for (int process = 0; process < 2; ++process)
        for (int i = 0; i < kRounds; ++i)
            EXPECT_EQ(config.GetUInt(Util::format("Process%1/Value%2", process, i), kMissing),
                      uint32_t(process * 100000 + i));
    for (int slot = 0; slot < 10; ++slot) {
        const uint32_t last = uint32_t(kRounds - 10 + slot);
        const uint32_t value = config.GetUInt(Util::format("Shared/Slot%1", slot), kMissing);
        EXPECT_TRUE(value == last || value == 100000 + last) << "slot " << slot << " holds " << value;
    }
}

// Threads of one process (the user-interface thread, timers, analytics workers)
// use one store at once, each call with its own connection.
TEST(ConfigFile, ThreadsOfOneProcessShareTheStore)
{
    const std::string path = TestSupport::makeTempFolder("threads") + "/registry.sqlite3";
    Platform::Posix::SqliteSettingsStore store(path);
    Util::Log::Capture log;
    std::vector<std::thread> threads;
    std::vector<int> faults(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            ConfigFile config(kProductKey, store);
            for (uint32_t i = 0; i < 100; ++i) {
                config.SetUInt(Util::format("Thread%1/Value", t), i);
                if (config.GetUInt(Util::format("Thread%1/Value", t), 0xFFFFFFFF) != i)
                    ++faults[size_t(t)];
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(faults, std::vector<int>(4, 0));
    EXPECT_TRUE(log.messages().empty());
}
