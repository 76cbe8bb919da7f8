#include "io/ByteStream.h"

#include "io/DataStreamIO.h"

#include <cstring>
#include <utility>

namespace Util {

namespace {
constexpr const char* kSource = "bytestream";
}

ByteStream::ByteStream(size_t reservedBytes) { buffer_.reserve(reservedBytes); }

ByteStream::ByteStream(size_t count, const void* bytes)
    : buffer_(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + count)
{
}

ByteStream::ByteStream(std::vector<uint8_t>&& bytes) : buffer_(std::move(bytes)) {}

std::vector<uint8_t> ByteStream::TakeBuffer()
{
    position_ = 0;
    return std::exchange(buffer_, {});
}

uint64_t ByteStream::GetBytesRemaining() { return AtEnd() ? 0 : buffer_.size() - position_; }

void ByteStream::take(size_t count, void* destination)
{
    if (count > 0)
        std::memcpy(destination, buffer_.data() + position_, count);
    position_ += uint32_t(count);
}

void ByteStream::put(size_t count, const void* source)
{
    if (count == 0)
        return;
    const size_t end = size_t(position_) + count;
    if (buffer_.size() < end)
        buffer_.resize(end);
    std::memcpy(buffer_.data() + position_, source, count);
    position_ = uint32_t(end);
}

void ByteStream::ReadValueBytes(void* destination, size_t size, const char*)
{
    if (!fits(size))
        throw Exception::DataStreamIO(
            format("Can't extract %1 bytes at position %2, total size %3", size, position_, buffer_.size()), kSource,
            __LINE__);
    take(size, destination);
}

void ByteStream::Read(size_t count, void* destination)
{
    if (!fits(count))
        throw Exception::DataStreamIO(format("Can't read %1 bytes", count), kSource, __LINE__);
    take(count, destination);
}

void ByteStream::ReadBytes(std::vector<uint8_t>& bytes) { Read(bytes.size(), bytes.data()); }

void ByteStream::ReadString(String& text)
{
    const uint32_t start = position_;
    const uint32_t length = ReadUInt();
    if (length > kMaxStringLength) {
        position_ = start;
        throw Exception::DataStreamIO(format("Improbable string length %1", length), kSource, __LINE__);
    }
    if (!fits(length)) {
        position_ = start;
        throw Exception::DataStreamIO(format("Can't read string of length %1", length), kSource, __LINE__);
    }
    text.assign(reinterpret_cast<const char*>(buffer_.data()) + position_, length);
    position_ += length;
}

void ByteStream::WriteValueBytes(const void* source, size_t size, const ValueText&) { put(size, source); }

void ByteStream::Write(size_t count, const void* source) { put(count, source); }

void ByteStream::WriteBytes(const std::vector<uint8_t>& bytes) { put(bytes.size(), bytes.data()); }

void ByteStream::WriteString(const String& text)
{
    if (GetLengthPrefix())
        WriteUInt(uint32_t(text.size()));
    put(text.size(), text.data());
}

} // namespace Util
