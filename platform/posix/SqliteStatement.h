#pragma once
#include "util/Text.h"

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace Platform::Posix {

class SqliteDatabase;

// One prepared statement, finalised when it goes out of scope. Used on the
// thread of its connection.
class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& db, const char* sql);

    bool isPrepared() const { return handle_ != nullptr; }

    // Parameters are numbered from 1; each returns *this for chaining.
    SqliteStatement& bind(int index, const Util::String& text);
    SqliteStatement& bind(int index, int64_t number);
    SqliteStatement& bind(int index, const uint8_t* data, size_t size);

    // Advances to the next row: true for a row, false when done or failed
    // (see failed()).
    bool step();
    bool failed() const { return failed_; }
    // Runs to completion; true when every step succeeded.
    bool run();
    // Clears the state of the last run for a new one with new parameters.
    void reset();

    int64_t columnInt(int column) const;
    Util::String columnText(int column) const;
    std::vector<uint8_t> columnBlob(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    bool fail();

    SqliteDatabase& db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> handle_;
    bool failed_ = false;
};

} // namespace Platform::Posix
