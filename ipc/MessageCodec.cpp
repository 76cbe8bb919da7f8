#include "ipc/MessageCodec.h"

#include <cstring>
#include <msgpack.hpp>

namespace IPC {

namespace {

// Bodies are tiny; anything larger or deeper is hostile and refused early.
const msgpack::unpack_limit bodyLimit(/*array*/ 16, /*map*/ 16, /*str*/ 256, /*bin*/ 256,
                                      /*ext*/ 256, /*depth*/ 4);

msgpack::object_handle unpackWhole(std::span<const uint8_t> body)
{
    try {
        size_t offset = 0;
        auto handle = msgpack::unpack(reinterpret_cast<const char*>(body.data()), body.size(), offset,
                                      nullptr, nullptr, bodyLimit);
        if (offset != body.size())
            throw MessageCodec::MalformedBody(
                Util::format("%1 bytes follow the message body", body.size() - offset));
        return handle;
    } catch (const MessageCodec::MalformedBody&) {
        throw;
    } catch (const std::exception& e) {
        throw MessageCodec::MalformedBody(Util::format("Undecodable message body: %1", e.what()));
    }
}

template <typename... Fields>
void decodeArray(std::span<const uint8_t> body, Fields&... fields)
{
    const auto handle = unpackWhole(body);
    const msgpack::object& array = handle.get();
    if (array.type != msgpack::type::ARRAY)
        throw MessageCodec::MalformedBody("The message body is not an array");
    const uint32_t present = array.via.array.size;
    uint32_t index = 0;
    auto take = [&](auto& field) {
        if (index < present) {
            try {
                array.via.array.ptr[index].convert(field);
            } catch (const std::exception&) {
                throw MessageCodec::MalformedBody(
                    Util::format("Element %1 of the message body has the wrong type", index));
            }
        }
        ++index;
    };
    (take(fields), ...);
}

} // namespace

void MessageCodec::Body::write(const char* data, size_t size)
{
    if (size > bytes_.size() - size_)
        throw Exception::Base("Message body too long"); // our three bodies always fit
    std::memcpy(bytes_.data() + size_, data, size);
    size_ += size;
}

MessageCodec::Body MessageCodec::encodeEnumerated(int32_t value)
{
    Body body;
    msgpack::packer<Body> packer(body);
    packer.pack_array(3).pack(version).pack(tag).pack(value);
    return body;
}

MessageCodec::Body MessageCodec::encodeUnsigned(int32_t kind, uint32_t value)
{
    Body body;
    msgpack::packer<Body> packer(body);
    packer.pack_array(4).pack(version).pack(tag).pack(kind).pack(value);
    return body;
}

MessageCodec::Body MessageCodec::encodeReply(bool handled)
{
    Body body;
    msgpack::packer<Body> packer(body);
    packer.pack_array(1).pack(handled);
    return body;
}

MessageCodec::Enumerated MessageCodec::decodeEnumerated(std::span<const uint8_t> body)
{
    Enumerated m;
    decodeArray(body, m.version, m.tag, m.value);
    return m;
}

MessageCodec::Unsigned MessageCodec::decodeUnsigned(std::span<const uint8_t> body)
{
    Unsigned m;
    decodeArray(body, m.version, m.tag, m.kind, m.value);
    return m;
}

bool MessageCodec::decodeReply(std::span<const uint8_t> body)
{
    bool handled = false;
    decodeArray(body, handled);
    return handled;
}

} // namespace IPC
