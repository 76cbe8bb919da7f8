#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "core/EntryProtocol.h"
#include "util/Text.h"

// Little-endian access to the fixed-layout records that cross the wrapper
// boundary. The records are raw bytes owned by the caller; every access is a
// memcpy so that unaligned offsets are fine.
class RecordView {
public:
    explicit RecordView(void* bytes) : bytes_(static_cast<uint8_t*>(bytes)) {}

    template <typename T>
    T get(size_t offset) const
    {
        T value;
        std::memcpy(&value, bytes_ + offset, sizeof(T));
        return value;
    }
    template <typename T>
    void set(size_t offset, T value) const
    {
        std::memcpy(bytes_ + offset, &value, sizeof(T));
    }

    uint32_t u32(size_t offset) const { return get<uint32_t>(offset); }
    uint64_t u64(size_t offset) const { return get<uint64_t>(offset); }
    float f32(size_t offset) const { return get<float>(offset); }
    template <typename T>
    T* pointer(size_t offset) const
    {
        return reinterpret_cast<T*>(static_cast<uintptr_t>(u64(offset)));
    }

    void setU32(size_t offset, uint32_t v) const { set(offset, v); }
    void setU64(size_t offset, uint64_t v) const { set(offset, v); }
    void setF32(size_t offset, float v) const { set(offset, v); }
    void setU8(size_t offset, uint8_t v) const { bytes_[offset] = v; }

    // NUL-terminated text of at most `size` bytes.
    Util::String text(size_t offset, size_t size) const
    {
        const char* p = reinterpret_cast<const char*>(bytes_ + offset);
        return Util::String(p, strnlen(p, size));
    }
    void setText(size_t offset, size_t size, std::string_view text) const
    {
        Util::copyTextField(reinterpret_cast<char*>(bytes_ + offset), size, text);
    }
    // A four-character code as a 32-bit number whose most significant byte is the first character.
    void setFourCC(size_t offset, std::string_view code) const
    {
        setU32(offset, EntryProtocol::fourCharacterCode(code));
    }

    // The same through the field descriptors of the entry protocol's layouts.
    template <typename T>
    T get(EntryProtocol::Field<T> field) const
    {
        return get<T>(field.offset);
    }
    template <typename T>
    void set(EntryProtocol::Field<T> field, std::type_identity_t<T> value) const
    {
        set<T>(field.offset, value);
    }
    template <typename T = void>
    T* pointer(EntryProtocol::Field<EntryProtocol::Address> field) const
    {
        return pointer<T>(field.offset);
    }
    void setPointer(EntryProtocol::Field<EntryProtocol::Address> field, const void* pointer) const
    {
        EntryProtocol::writeAddress(bytes_, field, pointer);
    }
    Util::String text(EntryProtocol::TextField field) const { return text(field.offset, field.size); }
    void setText(EntryProtocol::TextField field, std::string_view text) const { setText(field.offset, field.size, text); }
    void setFourCC(EntryProtocol::Field<uint32_t> field, std::string_view code) const
    {
        set(field, EntryProtocol::fourCharacterCode(code));
    }

    uint8_t* data() const { return bytes_; }

private:
    uint8_t* bytes_;
};
