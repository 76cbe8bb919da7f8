#include "io/FileStream.h"

#include "io/DataStreamIO.h"

namespace Util {

namespace {
constexpr const char* kSource = "filestream";

[[noreturn]] void fail(const String& message, int line) { throw Exception::DataStreamIO(message, kSource, line); }
} // namespace

FileStream::FileStream(const String& path, uint32_t openFlags) : file_(path)
{
    if (auto opened = file_.Open(openFlags); !opened)
        fail(format("Can't open file: %1", opened.error().Description()), __LINE__);
}

void FileStream::SetByteOrder(uint32_t order)
{
    DataStreamBase::SetByteOrder(order);
    file_.SetByteOrder(order);
}

void FileStream::ReadValueBytes(void* destination, size_t size, const char* typeName)
{
    if (auto read = file_.Read(destination, size); !read)
        fail(format("Can't extract %1: %2", typeName, read.error().Description()), __LINE__);
}

void FileStream::ReadBytes(std::vector<uint8_t>& bytes)
{
    if (auto read = file_.Read(bytes.data(), bytes.size()); !read)
        fail(format("Can't extract %1 bytes: %2", bytes.size(), read.error().Description()), __LINE__);
}

void FileStream::ReadString(String& text)
{
    uint32_t length = 0;
    if (auto read = file_.ReadValue(length); !read)
        fail(format("Can't extract string: %2", "", read.error().Description()), __LINE__);
    if (length > kMaxStringLength)
        fail(format("Improbable string length %1", length), __LINE__);
    String bytes(length, '\0');
    if (auto read = file_.Read(bytes.data(), length); !read)
        fail(format("Can't extract string: %2", "", read.error().Description()), __LINE__);
    text = std::move(bytes);
}

void FileStream::Read(size_t count, void* destination)
{
    if (auto read = file_.Read(destination, count); !read)
        fail(format("Can't read %1 bytes: %2", count, read.error().Description()), __LINE__);
}

void FileStream::WriteValueBytes(const void* source, size_t size, const ValueText& value)
{
    if (auto written = file_.Write(source, size); !written)
        fail(format("Can't insert %1: %2", value.text(), written.error().Description()), __LINE__);
}

void FileStream::WriteBytes(const std::vector<uint8_t>& bytes)
{
    if (auto written = file_.Write(bytes.data(), bytes.size()); !written)
        fail(format("Can't insert %1 bytes: %2", bytes.size(), written.error().Description()), __LINE__);
}

void FileStream::WriteString(const String& text)
{
    const uint32_t length = orderBytes(uint32_t(text.size()), GetByteOrder());
    File::Status written;
    if (GetLengthPrefix())
        written = file_.Write(&length, sizeof length);
    if (written)
        written = file_.Write(text.data(), text.size());
    if (!written)
        fail(format("Can't insert %1: %2", text, written.error().Description()), __LINE__);
}

void FileStream::Write(size_t count, const void* source)
{
    if (auto written = file_.Write(source, count); !written)
        fail(format("Can't write %1 bytes: %2", count, written.error().Description()), __LINE__);
}

uint64_t FileStream::valueOrThrow(const File::Outcome<uint64_t>& outcome, int line) const
{
    if (!outcome)
        fail(outcome.error().Description(), line);
    return outcome.value();
}

bool FileStream::AtEnd() { return GetBytesRemaining() == 0; }
uint64_t FileStream::GetPosition() { return valueOrThrow(file_.GetPosition(), __LINE__); }
uint64_t FileStream::GetSize() { return valueOrThrow(file_.GetSize(), __LINE__); }
uint64_t FileStream::GetBytesRemaining() { return valueOrThrow(file_.GetBytesRemaining(), __LINE__); }

void FileStream::Seek(uint64_t position)
{
    if (auto moved = file_.Seek(position); !moved)
        fail(format("Can't seek to %1: %2", position, moved.error().Description()), __LINE__);
}

} // namespace Util
