#include "io/File.h"

#include "platform/FileIO.h"

#include <system_error>
#include <utility>

namespace Util {

namespace {
constexpr size_t kStreamBufferBytes = 128 * 1024;
}

File::Error::Error(String message, String path, int errorNumber)
    : BasicError("File", kCode, std::move(message)), path_(std::move(path)), errorNumber_(errorNumber),
      errorNumberValid_(errorNumber >= 0)
{
    AddContext("path", path_);
    if (errorNumberValid_)
        AddContext("errno", format("%1 (%2)", errorNumber_, Platform::errorCodeText(errorNumber_)));
}

File::File(String path) : path_{0, std::move(path)}, stream_(nullptr, &std::fclose) {}

File::~File()
{
    if (open_)
        (void)Close();
}

String File::ModeString(uint32_t flags)
{
    const uint32_t reading = flags & (kRead | kReadWrite);
    const uint32_t writing = flags & (kWrite | kReadWrite | kAppend);
    const bool append = (flags & kAppend) != 0;
    // Built from the chosen literal rather than assigned to: GCC 12 at -O3
    // warns (-Wrestrict) on assigning a literal to a string and appending after.
    const char* base = "r";
    if (reading == 0 && writing != 0)
        base = append ? "a" : "w";
    else if (writing != 0)
        base = ((flags & (kRead | kTruncate)) != kRead) ? "w+" : (append ? "a+" : "r+");
    String mode(base);
    mode += (flags & kText) ? "t" : "b";
    return mode;
}

File::Error File::makeError(String message, int errorNumber) const
{
    return Error(std::move(message), path_.text, errorNumber);
}

File::Status File::Open(uint32_t flags)
{
    if (open_)
        (void)Close();
    std::FILE* stream = Platform::openFile(path_.text, ModeString(flags).c_str());
    if (!stream)
        return makeError("Error opening file", Platform::lastErrorCode());
    // Audio files move in blocks of a few kilobytes: a larger buffer than the
    // runtime's default saves most of the system calls. The runtime keeps its
    // default size unless it is handed the buffer itself.
    if (!buffer_)
        buffer_ = std::make_unique_for_overwrite<char[]>(kStreamBufferBytes);
    std::setvbuf(stream, buffer_.get(), _IOFBF, kStreamBufferBytes);
    stream_.reset(stream);
    flags_ = flags;
    open_ = true;
    lastAccess_ = LastAccess::None;
    return {};
}

File::Status File::Close()
{
    if (!open_)
        return {};
    open_ = false;
    const int result = std::fclose(stream_.release());
    if (result != 0)
        return makeError("Close failed", Platform::lastErrorCode());
    return {};
}

File::Status File::Seek(uint64_t position)
{
    if (!open_)
        return makeError(format("Attempt to seek to %1 when not open", position));
    if (!Platform::seekFile(stream_.get(), int64_t(position)))
        return makeError(format("Seek to %1 failed", position), Platform::lastErrorCode());
    lastAccess_ = LastAccess::None;
    return {};
}

File::Status File::DropReadAhead()
{
    if (!open_)
        return makeError("Attempt to drop the read buffer when not open");
    // On a stream that reads, flushing sets the descriptor to the stream's
    // position and discards the buffered input.
    if (std::fflush(stream_.get()) != 0)
        return makeError("Flush failed", Platform::lastErrorCode());
    return {};
}

// The runtime needs a positioning call between a write and a following read
// (and the other way round) on the same stream.
File::Status File::switchAccess(LastAccess next)
{
    if (lastAccess_ != LastAccess::None && lastAccess_ != next) {
        const int64_t here = Platform::tellFile(stream_.get());
        if (here < 0 || !Platform::seekFile(stream_.get(), here))
            return makeError(format("Seek to %1 failed", here), Platform::lastErrorCode());
    }
    lastAccess_ = next;
    return {};
}

File::Status File::Read(void* destination, size_t count)
{
    if (!open_)
        return makeError(format("Attempt to read %1 bytes when not open", count));
    if (count == 0)
        return {};
    if (auto status = switchAccess(LastAccess::Read); !status)
        return status;
    const size_t got = std::fread(destination, 1, count, stream_.get());
    if (got != count)
        return makeError(format("Attempt to read %1 bytes, only read %2 bytes", count, got),
                         std::ferror(stream_.get()) ? Platform::lastErrorCode() : -1);
    return {};
}

File::Status File::Write(const void* source, size_t count)
{
    if (!open_)
        return makeError(format("Attempt to write %1 bytes when not open", count));
    if (count == 0)
        return {};
    if (auto status = switchAccess(LastAccess::Write); !status)
        return status;
    const size_t put = std::fwrite(source, 1, count, stream_.get());
    if (put != count)
        return makeError(format("Attempt to write %1 bytes, only wrote %2 bytes", count, put),
                         Platform::lastErrorCode());
    return {};
}

File::Status File::DiscardUnwritten()
{
    if (!open_)
        return makeError("Attempt to discard unwritten bytes when not open");
    if (lastAccess_ == LastAccess::Write)
        Platform::discardUnwritten(stream_.get());
    lastAccess_ = LastAccess::None;
    return {};
}

File::Status File::Truncate(uint64_t size)
{
    if (!open_)
        return makeError(format("Attempt to truncate to %1 bytes when not open", size));
    if (lastAccess_ == LastAccess::Write && std::fflush(stream_.get()) != 0)
        return makeError("Flush failed", Platform::lastErrorCode());
    lastAccess_ = LastAccess::None;
    if (!Platform::truncateFile(stream_.get(), int64_t(size)))
        return makeError(format("Truncate to %1 bytes failed", size), Platform::lastErrorCode());
    return {};
}

File::Outcome<uint64_t> File::GetPosition()
{
    const int64_t position = open_ ? Platform::tellFile(stream_.get()) : -1;
    if (position < 0)
        return makeError("Could not get the number of bytes remaining", open_ ? Platform::lastErrorCode() : -1);
    return uint64_t(position);
}

File::Outcome<uint64_t> File::GetSize()
{
    if (open_ && lastAccess_ == LastAccess::Write && std::fflush(stream_.get()) != 0)
        return makeError("Could not get the number of bytes remaining", Platform::lastErrorCode());
    const int64_t size = open_ ? Platform::openFileSize(stream_.get()) : -1;
    if (size < 0)
        return makeError("Could not get the number of bytes remaining", open_ ? Platform::lastErrorCode() : -1);
    return uint64_t(size);
}

File::Outcome<uint64_t> File::GetBytesRemaining()
{
    auto size = GetSize();
    if (!size)
        return size;
    auto position = GetPosition();
    if (!position)
        return position;
    return size.value() > position.value() ? size.value() - position.value() : 0;
}

bool File::AtEnd()
{
    auto remaining = GetBytesRemaining();
    return !remaining || remaining.value() == 0;
}

File::Status File::Remove()
{
    if (open_)
        (void)Close();
    if (std::remove(path_.text.c_str()) != 0)
        return makeError("Remove failed", Platform::lastErrorCode());
    return {};
}

File::Outcome<std::filesystem::file_time_type> File::GetFileTime() const
{
    std::error_code failure;
    const auto time = std::filesystem::last_write_time(path_.text, failure);
    if (failure)
        return makeError("Error getting file time", failure.value());
    return time;
}

} // namespace Util
