#pragma once
#include "util/Text.h"

#include <memory>

struct sqlite3;

namespace Platform::Posix {

class SqliteStatement;

// One connection to an SQLite database file, closed when it goes out of scope.
// [any-thread], one thread at a time.
class SqliteDatabase {
public:
    enum class Access { ExistingOnly, CreateIfMissing };

    // Opens the file; check isOpen(). The busy time-out applies to every statement.
    SqliteDatabase(const Util::String& path, Access access, int busyTimeoutMs);

    bool isOpen() const { return handle_ != nullptr; }
    sqlite3* handle() const { return handle_.get(); }

    // Runs statements that return no rows; false on failure.
    bool execute(const char* sql);
    // SQLite's result code and message of the last failure on this connection
    // (0 when none), kept until the next failure: finalising a good statement
    // later does not hide it.
    int errorCode() const { return failureCode_; }
    const Util::String& errorMessage() const { return failureMessage_; }
    // Records the connection's current error as the last failure.
    void noteFailure();
    struct Failure {
        int code = 0;
        Util::String message;
    };
    Failure failure() const { return {failureCode_, failureMessage_}; }
    // Puts back a failure that later clean-up statements replaced.
    void restoreFailure(const Failure& failure)
    {
        failureCode_ = failure.code;
        failureMessage_ = failure.message;
    }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> handle_;
    int failureCode_ = 0;
    Util::String failureMessage_;
};

} // namespace Platform::Posix
