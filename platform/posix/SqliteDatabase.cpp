#include "platform/posix/SqliteDatabase.h"

#include <sqlite3.h>

namespace Platform::Posix {

void SqliteDatabase::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

SqliteDatabase::SqliteDatabase(const Util::String& path, Access access, int busyTimeoutMs)
{
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (access == Access::CreateIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    handle_.reset(db); // closed even when the open failed
    if (opened != SQLITE_OK) {
        failureCode_ = opened;
        failureMessage_ = sqlite3_errstr(opened);
        handle_.reset();
        return;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
}

bool SqliteDatabase::execute(const char* sql)
{
    if (!handle_)
        return false;
    if (sqlite3_exec(handle_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    noteFailure();
    return false;
}

void SqliteDatabase::noteFailure()
{
    if (!handle_)
        return;
    failureCode_ = sqlite3_extended_errcode(handle_.get());
    failureMessage_ = sqlite3_errmsg(handle_.get());
}

} // namespace Platform::Posix
