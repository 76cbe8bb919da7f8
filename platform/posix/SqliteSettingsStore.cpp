#include "platform/posix/SqliteSettingsStore.h"

#include "platform/Folders.h"
#include "platform/posix/SqliteDatabase.h"
#include "platform/posix/SqliteStatement.h"
#include "util/Log.h"

#include <sqlite3.h>

#include <filesystem>
#include <thread>

namespace Platform {

SettingsStore& currentUserSettings()
{
    static Posix::SqliteSettingsStore store;
    return store;
}

namespace Posix {

namespace {

constexpr int kBusyTimeoutMs = 10000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS registry_keys ("
    "  key TEXT NOT NULL COLLATE NOCASE PRIMARY KEY);"
    "CREATE TABLE IF NOT EXISTS registry_values ("
    "  key TEXT NOT NULL COLLATE NOCASE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY (key, name));";

// Rows of a key and of every key below it: ?1 is the key path.
constexpr const char* kKeyAndBelow = "(key = ?1 OR substr(key, 1, length(?1) + 1) = ?1 || '\\' COLLATE NOCASE)";

bool isMissingSchema(const SqliteDatabase& db)
{
    return db.errorCode() == SQLITE_ERROR && db.errorMessage().rfind("no such table", 0) == 0;
}

// SQLite answers "database is locked" at once, without waiting for the busy
// time-out, in a few cases (another process creating the file or switching it
// to WAL). Such failures are retried until the time-out has passed.
class BusyRetry {
public:
    bool again(const SqliteDatabase& db)
    {
        const int primary = db.errorCode() & 0xFF;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) || std::chrono::steady_clock::now() > deadline_)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return true;
    }

private:
    std::chrono::steady_clock::time_point deadline_ =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
};

// Every key from the first part of `key` down to `key` itself.
std::vector<Util::String> keyAndParents(const Util::String& key)
{
    std::vector<Util::String> keys;
    for (size_t at = key.find('\\'); at != Util::String::npos; at = key.find('\\', at + 1))
        keys.push_back(key.substr(0, at));
    keys.push_back(key);
    return keys;
}

} // namespace

SqliteSettingsStore::SqliteSettingsStore(Util::String databasePath) : databasePath_(std::move(databasePath)) {}

SqliteSettingsStore::~SqliteSettingsStore() = default;

Util::String SqliteSettingsStore::databasePath() const
{
    return databasePath_.empty() ? configFolder() + "/Quillex/registry.sqlite3" : databasePath_;
}

void SqliteSettingsStore::noteSuccess(const Util::String& path)
{
    failing_.store(false, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(indexKeeperMutex_);
    if (indexKeeper_ && indexKeeperPath_ == path)
        return;
    indexKeeper_ = std::make_unique<SqliteDatabase>(path, SqliteDatabase::Access::ExistingOnly, kBusyTimeoutMs);
    indexKeeperPath_ = path;
    // A read maps the WAL index; the statement ends at once and takes no lock with it.
    SqliteStatement touch(*indexKeeper_, "PRAGMA schema_version");
    if (!touch.run())
        indexKeeper_.reset();
}

void SqliteSettingsStore::noteFailure(const Util::String& what)
{
    if (failing_.exchange(true, std::memory_order_relaxed))
        return;
    Util::Log::write(Util::format("Settings store %1: %2 (settings fall back to their defaults)", databasePath(), what));
}

void SqliteSettingsStore::noteFailure(const SqliteDatabase& db, const char* operation)
{
    noteFailure(Util::format("%1 failed: %2 (%3)", operation, db.errorMessage(), db.errorCode()));
}

bool SqliteSettingsStore::createSchema(SqliteDatabase& db)
{
    BusyRetry retry;
    do {
        SqliteStatement mode(db, "PRAGMA journal_mode=WAL");
        if (mode.step())
            return db.execute(kSchema); // WAL, or a mode this file cannot leave
    } while (retry.again(db));
    return false;
}

// Runs `action(db)` in one immediate transaction, creating the file and its
// tables on the first write. `action` answers false when a statement failed.
template <typename Action>
bool SqliteSettingsStore::modify(Action&& action)
{
    const Util::String path = databasePath();
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    SqliteDatabase db(path, SqliteDatabase::Access::CreateIfMissing, kBusyTimeoutMs);
    if (!db.isOpen()) {
        noteFailure(db, "open");
        return false;
    }
    db.execute("PRAGMA synchronous=NORMAL");
    bool schemaCreated = false;
    BusyRetry retry;
    for (;;) {
        const bool begun = db.execute("BEGIN IMMEDIATE");
        if (begun && action(db) && db.execute("COMMIT")) {
            noteSuccess(path);
            return true;
        }
        const SqliteDatabase::Failure failure = db.failure();
        if (begun)
            db.execute("ROLLBACK");
        db.restoreFailure(failure);
        // Creating the tables races other threads and processes doing the
        // same on a new file: a busy answer there is retried like any other.
        if (isMissingSchema(db) && !schemaCreated && createSchema(db)) {
            schemaCreated = true;
            continue;
        }
        if (retry.again(db))
            continue;
        noteFailure(db, "write");
        return false;
    }
}

// Runs `query(db)` on the existing database; `query` answers false when a
// statement failed and must start afresh when run again.
template <typename Query>
void SqliteSettingsStore::read(Query&& query)
{
    const Util::String path = databasePath();
    BusyRetry retry;
    for (;;) {
        SqliteDatabase db(path, SqliteDatabase::Access::ExistingOnly, kBusyTimeoutMs);
        if (!db.isOpen())
            return; // no database yet: nothing is stored
        if (query(db)) {
            noteSuccess(path);
            return;
        }
        if (isMissingSchema(db))
            return; // a database nobody has written to yet
        if (!retry.again(db)) {
            noteFailure(db, "read");
            return;
        }
    }
}

std::optional<RegistryValue> SqliteSettingsStore::readValue(const Util::String& key, const Util::String& name)
{
    std::optional<RegistryValue> found;
    read([&](SqliteDatabase& db) {
        SqliteStatement select(db, "SELECT type, data FROM registry_values WHERE key = ?1 AND name = ?2");
        select.bind(1, key).bind(2, name);
        if (select.step())
            found = RegistryValue{uint32_t(select.columnInt(0)), select.columnBlob(1)};
        return !select.failed();
    });
    return found;
}

bool SqliteSettingsStore::writeValue(const Util::String& key, const Util::String& name, uint32_t type,
                                     const uint8_t* data, size_t size)
{
    return modify([&](SqliteDatabase& db) {
        SqliteStatement addKey(db, "INSERT OR IGNORE INTO registry_keys(key) VALUES (?1)");
        for (const auto& k : keyAndParents(key)) {
            addKey.reset();
            if (!addKey.bind(1, k).run())
                return false;
        }
        SqliteStatement upsert(db, "INSERT INTO registry_values(key, name, type, data) VALUES (?1, ?2, ?3, ?4) "
                                   "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data");
        return upsert.bind(1, key).bind(2, name).bind(3, int64_t(type)).bind(4, data, size).run();
    });
}

bool SqliteSettingsStore::removeValue(const Util::String& key, const Util::String& name)
{
    if (!std::filesystem::exists(databasePath()))
        return true;
    return modify([&](SqliteDatabase& db) {
        SqliteStatement remove(db, "DELETE FROM registry_values WHERE key = ?1 AND name = ?2");
        return remove.bind(1, key).bind(2, name).run();
    });
}

bool SqliteSettingsStore::removeKey(const Util::String& key)
{
    if (!std::filesystem::exists(databasePath()))
        return true;
    return modify([&](SqliteDatabase& db) {
        const Util::String values = Util::String("DELETE FROM registry_values WHERE ") + kKeyAndBelow;
        const Util::String keys = Util::String("DELETE FROM registry_keys WHERE ") + kKeyAndBelow;
        SqliteStatement removeValues(db, values.c_str());
        SqliteStatement removeKeys(db, keys.c_str());
        return removeValues.bind(1, key).run() && removeKeys.bind(1, key).run();
    });
}

std::vector<Util::String> SqliteSettingsStore::subKeyNames(const Util::String& key)
{
    const char* sql = key.empty() ? "SELECT key FROM registry_keys WHERE instr(key, '\\') = 0 ORDER BY key"
                                  : "SELECT substr(key, length(?1) + 2) AS child FROM registry_keys "
                                    "WHERE substr(key, 1, length(?1) + 1) = ?1 || '\\' COLLATE NOCASE "
                                    "AND instr(substr(key, length(?1) + 2), '\\') = 0 ORDER BY child COLLATE NOCASE";
    return listNames(sql, key);
}

std::vector<Util::String> SqliteSettingsStore::valueNames(const Util::String& key)
{
    return listNames("SELECT name FROM registry_values WHERE key = ?1 ORDER BY rowid", key);
}

std::vector<Util::String> SqliteSettingsStore::listNames(const char* sql, const Util::String& key)
{
    std::vector<Util::String> names;
    read([&](SqliteDatabase& db) {
        names.clear();
        SqliteStatement select(db, sql);
        if (!key.empty())
            select.bind(1, key);
        while (select.step())
            names.push_back(select.columnText(0));
        return !select.failed();
    });
    return names;
}

} // namespace Posix
} // namespace Platform
