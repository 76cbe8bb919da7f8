#pragma once
#include "util/BasicError.h"
#include "util/ByteOrder.h"
#include "util/Result.h"
#include "util/Text.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace Util {

// A file over the runtime's buffered streams (128 KiB buffers). Every failure is
// returned as a File::Error value; nothing throws. [any-thread], one thread at
// a time; after Open, reads and writes allocate nothing but error messages.
class File {
public:
    class Error;
    template <typename T>
    using Outcome = Result<T, Error>;
    using Status = Result<void, Error>;

    // Open mode flags. R = flags & 0x0A selects reading, W = flags & 0x1C writing.
    enum OpenFlag : uint32_t {
        kRead = 0x02,
        kWrite = 0x04,
        kReadWrite = 0x08,
        kAppend = 0x10,
        kTruncate = 0x20, // with read and write: start empty ("w+") even when 0x02 is set
        kText = 0x40,
    };

    explicit File(String path);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // The runtime mode string the flags select, e.g. "r+b". [any-thread]
    static String ModeString(uint32_t flags);

    const String& GetPath() const { return path_.text; }
    bool IsOpen() const { return open_; }
    uint32_t GetOpenFlags() const { return flags_; }
    // Byte order of ReadValue (see util/ByteOrder.h); 0 until a client sets it.
    uint32_t GetByteOrder() const { return byteOrder_; }
    void SetByteOrder(uint32_t order) { byteOrder_ = order; }

    Status Open(uint32_t flags);
    Status Close();
    Status Seek(uint64_t position);
    // Drops what the stream buffer read ahead, keeping the position, so that a
    // following read of at least a buffer's size goes straight into the
    // caller's memory instead of through the buffer. A seek inside the
    // buffered range keeps the buffer, misaligning every later large read.
    Status DropReadAhead();
    Status Read(void* destination, size_t count);
    Status Write(const void* source, size_t count);
    // After a failed write: forgets the bytes still buffered for the file, so
    // that neither a later flush nor the close writes them.
    Status DiscardUnwritten();
    // Writes what is buffered, then cuts the file to `size` bytes; seek before
    // the next read or write.
    Status Truncate(uint64_t size);
    Outcome<uint64_t> GetPosition();
    Outcome<uint64_t> GetSize();
    Outcome<uint64_t> GetBytesRemaining();
    bool AtEnd();
    // Closes the file if open, then deletes it.
    Status Remove();
    Outcome<std::filesystem::file_time_type> GetFileTime() const;

    // Reads a value of sizeof(T) bytes in this file's byte order.
    template <typename T>
    Status ReadValue(T& value);

private:
    enum class LastAccess { None, Read, Write };
    Error makeError(String message, int errorNumber = -1) const;
    Status switchAccess(LastAccess next);

    NameRecord path_;
    // The stream's buffer; declared first so that the stream is closed before
    // it goes.
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream_;
    uint32_t flags_ = 0;
    bool open_ = false;
    uint32_t byteOrder_ = 0;
    LastAccess lastAccess_ = LastAccess::None;
};

// A failed file operation: category "File", code 2, the file's path and, when
// the runtime gave one, its error number.
class File::Error : public BasicError<File::Error> {
public:
    static constexpr uint32_t kCode = 2;
    Error(String message, String path, int errorNumber = -1);

    const String& GetPath() const { return path_; }
    bool HasErrorNumber() const { return errorNumberValid_; }
    int GetErrorNumber() const { return errorNumber_; }

private:
    String path_;
    int32_t errorNumber_;
    bool errorNumberValid_;
};

template <typename T>
File::Status File::ReadValue(T& value)
{
    T raw;
    if (auto status = Read(&raw, sizeof raw); !status)
        return status;
    value = orderBytes(raw, byteOrder_);
    return {};
}

} // namespace Util
