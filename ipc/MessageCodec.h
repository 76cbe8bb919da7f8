#pragma once
#include "util/ExceptionBase.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace IPC {

// The two-frame messages between the plug-in and the editor: a type-name frame
// (text without terminating zero) and a MessagePack body. Encoding packs every
// number in its shortest form and never touches the heap, so a send may come
// from any thread. Decoding fills the fields a body holds over the defaults.
class MessageCodec {
public:
    static constexpr uint32_t version = 2;
    static constexpr uint32_t tag = 0x33554630;
    static constexpr std::string_view enumeratedType = "IPC_EnumMessage";
    static constexpr std::string_view unsignedType = "IPC_UIntMessage";
    static constexpr std::string_view replyType = "IPC_SimpleReply";

    struct Enumerated {
        uint32_t version = MessageCodec::version;
        uint32_t tag = MessageCodec::tag;
        int32_t value = -1;
    };
    struct Unsigned {
        uint32_t version = MessageCodec::version;
        uint32_t tag = MessageCodec::tag;
        int32_t kind = -1;
        uint32_t value = 0;
    };

    // A body that is not one MessagePack array of the expected element types.
    class MalformedBody : public Exception::Base {
    public:
        using Exception::Base::Base;
    };

    // An encoded body in fixed storage; also the packer's output stream.
    class Body {
    public:
        std::span<const uint8_t> bytes() const { return {bytes_.data(), size_}; }
        void write(const char* data, size_t size);

    private:
        std::array<uint8_t, 24> bytes_{};
        size_t size_ = 0;
    };

    // [any-thread], no allocation.
    static Body encodeEnumerated(int32_t value);
    static Body encodeUnsigned(int32_t kind, uint32_t value);
    static Body encodeReply(bool handled);

    // [any-thread]. Throw MalformedBody. Elements missing at the end of the array
    // keep their defaults; elements beyond the expected ones are ignored.
    static Enumerated decodeEnumerated(std::span<const uint8_t> body);
    static Unsigned decodeUnsigned(std::span<const uint8_t> body);
    static bool decodeReply(std::span<const uint8_t> body);

    // Whether a decoded message carries this link's version and tag.
    template <typename Message>
    static bool belongsToLink(const Message& m)
    {
        return m.version == version && m.tag == tag;
    }
};

} // namespace IPC
