#pragma once
#include "util/Text.h"

#include <cstdint>
#include <vector>

namespace Util {

// A binary stream of typed values, over memory (ByteStream) or a file
// (FileStream). Multi-byte values are little-endian unless the byte order is
// set to reverse them (util/ByteOrder.h); single bytes and raw blocks are never
// reordered. A string is a 32-bit byte count (written only while the length
// prefix flag is set, always read) and its 8-bit text; more than 200000 bytes is
// refused when read. Failures throw Util::Exception::DataStreamIO.
// A stream is used by one thread at a time, never the audio thread.
class DataStream {
public:
    static constexpr uint32_t kMaxStringLength = 200000;

    virtual uint32_t GetByteOrder() const = 0;
    virtual void SetByteOrder(uint32_t order) = 0;
    virtual bool GetLengthPrefix() const = 0;
    virtual void SetLengthPrefix(bool on) = 0;

    // Fills the whole vector, as many bytes as its current size.
    virtual void ReadBytes(std::vector<uint8_t>& bytes) = 0;
    virtual void ReadString(String& text) = 0;
    virtual void ReadDouble(double& value) = 0;
    virtual void ReadFloat(float& value) = 0;
    virtual void ReadULong(uint32_t& value) = 0;
    virtual void ReadLong(int32_t& value) = 0;
    virtual void ReadUInt64(uint64_t& value) = 0;
    virtual void ReadInt64(int64_t& value) = 0;
    virtual void ReadUInt(uint32_t& value) = 0;
    virtual void ReadInt(int32_t& value) = 0;
    virtual void ReadUInt16(uint16_t& value) = 0;
    virtual void ReadInt16(int16_t& value) = 0;
    virtual void ReadUInt8(uint8_t& value) = 0;
    virtual void ReadInt8(int8_t& value) = 0;
    virtual void ReadChar(char& value) = 0;
    virtual void ReadBool(bool& value) = 0;

    virtual double ReadDouble() = 0;
    virtual float ReadFloat() = 0;
    virtual uint32_t ReadULong() = 0;
    virtual int32_t ReadLong() = 0;
    virtual uint32_t ReadUInt() = 0;
    virtual int32_t ReadInt() = 0;
    virtual uint64_t ReadUInt64() = 0;
    virtual int64_t ReadInt64() = 0;
    virtual uint16_t ReadUInt16() = 0;
    virtual int16_t ReadInt16() = 0;
    virtual uint8_t ReadUInt8() = 0;
    virtual int8_t ReadInt8() = 0;
    virtual char ReadChar() = 0;
    virtual bool ReadBool() = 0;

    virtual void Read(size_t count, void* destination) = 0;

    virtual void WriteBytes(const std::vector<uint8_t>& bytes) = 0;
    virtual void WriteString(const String& text) = 0;
    virtual void WriteDouble(double value) = 0;
    virtual void WriteFloat(float value) = 0;
    virtual void WriteULong(uint32_t value) = 0;
    virtual void WriteLong(int32_t value) = 0;
    virtual void WriteUInt64(uint64_t value) = 0;
    virtual void WriteInt64(int64_t value) = 0;
    virtual void WriteUInt(uint32_t value) = 0;
    virtual void WriteInt(int32_t value) = 0;
    virtual void WriteUInt16(uint16_t value) = 0;
    virtual void WriteInt16(int16_t value) = 0;
    virtual void WriteUInt8(uint8_t value) = 0;
    virtual void WriteInt8(int8_t value) = 0;
    virtual void WriteChar(char value) = 0;
    virtual void WriteBool(bool value) = 0;
    virtual void Write(size_t count, const void* source) = 0;

    virtual bool AtEnd() = 0;
    virtual uint64_t GetPosition() = 0;
    virtual uint64_t GetSize() = 0;
    virtual uint64_t GetBytesRemaining() = 0;
    virtual void Seek(uint64_t position) = 0;
    virtual void Skip(int64_t count) = 0;

    virtual ~DataStream() = default;
};

} // namespace Util
