#include "platform/posix/SqliteStatement.h"

#include "platform/posix/SqliteDatabase.h"

#include <sqlite3.h>

namespace Platform::Posix {

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

SqliteStatement::SqliteStatement(SqliteDatabase& db, const char* sql) : db_(db)
{
    sqlite3_stmt* statement = nullptr;
    if (db.isOpen() && sqlite3_prepare_v2(db.handle(), sql, -1, &statement, nullptr) == SQLITE_OK)
        handle_.reset(statement);
    else
        fail();
}

bool SqliteStatement::fail()
{
    failed_ = true;
    db_.noteFailure();
    return false;
}

SqliteStatement& SqliteStatement::bind(int index, const Util::String& text)
{
    if (handle_ && sqlite3_bind_text(handle_.get(), index, text.data(), int(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, int64_t number)
{
    if (handle_ && sqlite3_bind_int64(handle_.get(), index, number) != SQLITE_OK)
        fail();
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const uint8_t* data, size_t size)
{
    // A zero-length blob must still be a blob, not NULL.
    static const uint8_t empty = 0;
    if (handle_ && sqlite3_bind_blob64(handle_.get(), index, size ? data : &empty, size, SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
    return *this;
}

bool SqliteStatement::step()
{
    if (failed_)
        return false;
    const int result = sqlite3_step(handle_.get());
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        fail();
    return false;
}

bool SqliteStatement::run()
{
    while (step()) {
    }
    return !failed_;
}

void SqliteStatement::reset()
{
    if (!handle_)
        return;
    sqlite3_reset(handle_.get());
    sqlite3_clear_bindings(handle_.get());
    failed_ = false;
}

int64_t SqliteStatement::columnInt(int column) const { return sqlite3_column_int64(handle_.get(), column); }

Util::String SqliteStatement::columnText(int column) const
{
    const auto* text = sqlite3_column_text(handle_.get(), column);
    return text ? Util::String(reinterpret_cast<const char*>(text), size_t(sqlite3_column_bytes(handle_.get(), column)))
                : Util::String();
}

std::vector<uint8_t> SqliteStatement::columnBlob(int column) const
{
    const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(handle_.get(), column));
    const int size = sqlite3_column_bytes(handle_.get(), column);
    return data ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>();
}

} // namespace Platform::Posix
