#pragma once
#include "platform/SettingsStore.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace Platform::Posix {

class SqliteDatabase;

// The registry stand-in: one SQLite database in WAL mode with a busy time-out,
// opened, used and closed by every call, so that plug-in instances and the
// editor in other processes share it. A file that is damaged or not a database
// is never written to: reads answer nothing, writes fail, and the log says why
// (once, until the store works again).
//
// Besides the connection of each call, the store keeps one idle connection to
// the database it last used successfully. It holds no lock and no transaction;
// it only keeps SQLite's shared WAL index alive between calls, which would
// otherwise be rebuilt from the log by every call (several times the cost of
// the call itself). When it closes last, SQLite checkpoints and removes the log.
class SqliteSettingsStore final : public SettingsStore {
public:
    // An empty path means the current user's database,
    // $XDG_CONFIG_HOME/Quillex/registry.sqlite3, looked up at every call.
    explicit SqliteSettingsStore(Util::String databasePath = {});
    ~SqliteSettingsStore() override;

    Util::String databasePath() const;

    std::optional<RegistryValue> readValue(const Util::String& key, const Util::String& name) override;
    bool writeValue(const Util::String& key, const Util::String& name, uint32_t type, const uint8_t* data,
                    size_t size) override;
    bool removeValue(const Util::String& key, const Util::String& name) override;
    bool removeKey(const Util::String& key) override;
    std::vector<Util::String> subKeyNames(const Util::String& key) override;
    std::vector<Util::String> valueNames(const Util::String& key) override;

private:
    template <typename Action>
    bool modify(Action&& action);
    template <typename Query>
    void read(Query&& query);
    std::vector<Util::String> listNames(const char* sql, const Util::String& key);
    bool createSchema(SqliteDatabase& db);
    void noteFailure(const SqliteDatabase& db, const char* operation);
    void noteFailure(const Util::String& what);
    void noteSuccess(const Util::String& path);

    Util::String databasePath_;
    std::atomic<bool> failing_{false};
    std::mutex indexKeeperMutex_;
    Util::String indexKeeperPath_;
    std::unique_ptr<SqliteDatabase> indexKeeper_;
};

} // namespace Platform::Posix
