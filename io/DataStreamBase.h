#pragma once
#include "util/ByteOrder.h"
#include "io/DataStream.h"

namespace Util {

// The typed reads and writes of a DataStream, built on two primitives that the
// memory and file streams provide: move the bytes of one value, or throw their
// own message. Byte order is applied here.
class DataStreamBase : public DataStream {
public:
    uint32_t GetByteOrder() const override { return byteOrder_; }
    void SetByteOrder(uint32_t order) override { byteOrder_ = order; }
    bool GetLengthPrefix() const override { return lengthPrefix_; }
    void SetLengthPrefix(bool on) override { lengthPrefix_ = on; }

    void ReadDouble(double& value) override { value = readValue<double>("double"); }
    void ReadFloat(float& value) override { value = readValue<float>("float"); }
    void ReadULong(uint32_t& value) override { value = readValue<uint32_t>("unsigned long"); }
    void ReadLong(int32_t& value) override { value = readValue<int32_t>("long"); }
    void ReadUInt64(uint64_t& value) override { value = readValue<uint64_t>("unsigned 64-bit integer"); }
    void ReadInt64(int64_t& value) override { value = readValue<int64_t>("64-bit integer"); }
    void ReadUInt(uint32_t& value) override { value = readValue<uint32_t>("unsigned int"); }
    void ReadInt(int32_t& value) override { value = readValue<int32_t>("int"); }
    void ReadUInt16(uint16_t& value) override { value = readValue<uint16_t>("unsigned short"); }
    void ReadInt16(int16_t& value) override { value = readValue<int16_t>("short"); }
    void ReadUInt8(uint8_t& value) override { value = readValue<uint8_t>("unsigned char"); }
    void ReadInt8(int8_t& value) override { value = readValue<int8_t>("signed char"); }
    void ReadChar(char& value) override { value = readValue<char>("char"); }
    void ReadBool(bool& value) override { value = readValue<uint8_t>("bool") != 0; }

    double ReadDouble() override { return readValue<double>("double"); }
    float ReadFloat() override { return readValue<float>("float"); }
    uint32_t ReadULong() override { return readValue<uint32_t>("unsigned long"); }
    int32_t ReadLong() override { return readValue<int32_t>("long"); }
    uint32_t ReadUInt() override { return readValue<uint32_t>("unsigned int"); }
    int32_t ReadInt() override { return readValue<int32_t>("int"); }
    uint64_t ReadUInt64() override { return readValue<uint64_t>("unsigned 64-bit integer"); }
    int64_t ReadInt64() override { return readValue<int64_t>("64-bit integer"); }
    uint16_t ReadUInt16() override { return readValue<uint16_t>("unsigned short"); }
    int16_t ReadInt16() override { return readValue<int16_t>("short"); }
    uint8_t ReadUInt8() override { return readValue<uint8_t>("unsigned char"); }
    int8_t ReadInt8() override { return readValue<int8_t>("signed char"); }
    char ReadChar() override { return readValue<char>("char"); }
    bool ReadBool() override { return readValue<uint8_t>("bool") != 0; }

    void WriteDouble(double value) override { writeValue(value); }
    void WriteFloat(float value) override { writeValue(value); }
    void WriteULong(uint32_t value) override { writeValue(value); }
    void WriteLong(int32_t value) override { writeValue(value); }
    void WriteUInt64(uint64_t value) override { writeValue(value); }
    void WriteInt64(int64_t value) override { writeValue(value); }
    void WriteUInt(uint32_t value) override { writeValue(value); }
    void WriteInt(int32_t value) override { writeValue(value); }
    void WriteUInt16(uint16_t value) override { writeValue(value); }
    void WriteInt16(int16_t value) override { writeValue(value); }
    void WriteUInt8(uint8_t value) override { writeValue(value); }
    void WriteInt8(int8_t value) override { writeValue(value); }
    void WriteChar(char value) override { writeValue(value); }
    void WriteBool(bool value) override { writeValue(uint8_t(value ? 1 : 0)); }

    void Skip(int64_t count) override { Seek(uint64_t(int64_t(GetPosition()) + count)); }

protected:
    // The text of a written value, made only when a message needs it.
    class ValueText {
    public:
        template <typename T>
        explicit ValueText(const T& value)
            : value_(&value), render_([](const void* v) { return toText(*static_cast<const T*>(v)); })
        {
        }
        String text() const { return render_(value_); }

    private:
        const void* value_;
        String (*render_)(const void*);
    };

    // Reads the `size` bytes of one value as stored, or throws.
    virtual void ReadValueBytes(void* destination, size_t size, const char* typeName) = 0;
    // Writes the `size` bytes of one value as they are to be stored, or throws.
    virtual void WriteValueBytes(const void* source, size_t size, const ValueText& value) = 0;
    // The byte order that typed reads follow.
    virtual uint32_t ReadByteOrder() const { return byteOrder_; }

private:
    template <typename T>
    T readValue(const char* typeName)
    {
        T stored;
        ReadValueBytes(&stored, sizeof stored, typeName);
        return orderBytes(stored, ReadByteOrder());
    }

    template <typename T>
    void writeValue(T value)
    {
        const T stored = orderBytes(value, byteOrder_);
        WriteValueBytes(&stored, sizeof stored, ValueText(value));
    }

    uint32_t byteOrder_ = 0;
    bool lengthPrefix_ = true;
};

} // namespace Util
