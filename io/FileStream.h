#pragma once
#include "io/DataStreamBase.h"
#include "io/File.h"

namespace Util {

// A DataStream over a file, opened by the constructor (open mode flags of
// Util::File). Every operation goes to the file at its current position.
// Writes follow the stream's byte order and typed reads the file's byte order
// field; SetByteOrder sets both, so that what a stream writes it reads back.
class FileStream final : public DataStreamBase {
public:
    FileStream(const String& path, uint32_t openFlags);

    File& GetFile() { return file_; }

    void SetByteOrder(uint32_t order) override;

    void ReadBytes(std::vector<uint8_t>& bytes) override;
    void ReadString(String& text) override;
    void Read(size_t count, void* destination) override;

    void WriteBytes(const std::vector<uint8_t>& bytes) override;
    void WriteString(const String& text) override;
    void Write(size_t count, const void* source) override;

    bool AtEnd() override;
    uint64_t GetPosition() override;
    uint64_t GetSize() override;
    uint64_t GetBytesRemaining() override;
    void Seek(uint64_t position) override;

protected:
    void ReadValueBytes(void* destination, size_t size, const char* typeName) override;
    void WriteValueBytes(const void* source, size_t size, const ValueText& value) override;
    uint32_t ReadByteOrder() const override { return file_.GetByteOrder(); }

private:
    uint64_t valueOrThrow(const File::Outcome<uint64_t>& outcome, int line) const;

    File file_;
};

} // namespace Util
