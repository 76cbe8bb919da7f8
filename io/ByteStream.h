#pragma once
#include "io/DataStreamBase.h"

namespace Util {

// A DataStream over a growable byte buffer in memory. Writes overwrite at the
// position and grow the buffer as needed; a failed read leaves the position and
// the destination as they were.
class ByteStream final : public DataStreamBase {
public:
    explicit ByteStream(size_t reservedBytes = 0);
    ByteStream(size_t count, const void* bytes);
    explicit ByteStream(std::vector<uint8_t>&& bytes);

    const std::vector<uint8_t>& GetBuffer() const { return buffer_; }
    std::vector<uint8_t> TakeBuffer();

    void ReadBytes(std::vector<uint8_t>& bytes) override;
    void ReadString(String& text) override;
    void Read(size_t count, void* destination) override;

    void WriteBytes(const std::vector<uint8_t>& bytes) override;
    void WriteString(const String& text) override;
    void Write(size_t count, const void* source) override;

    bool AtEnd() override { return position_ >= buffer_.size(); }
    uint64_t GetPosition() override { return position_; }
    uint64_t GetSize() override { return buffer_.size(); }
    uint64_t GetBytesRemaining() override;
    // Any position is accepted; a write there fills the gap with zero bytes.
    void Seek(uint64_t position) override { position_ = uint32_t(position); }

protected:
    void ReadValueBytes(void* destination, size_t size, const char* typeName) override;
    void WriteValueBytes(const void* source, size_t size, const ValueText& value) override;

private:
    bool fits(size_t count) const { return uint64_t(position_) + count <= buffer_.size(); }
    void take(size_t count, void* destination);
    void put(size_t count, const void* source);

    std::vector<uint8_t> buffer_;
    uint32_t position_ = 0;
};

} // namespace Util
