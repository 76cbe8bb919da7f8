#include "core/WrapperLink.h"

#include "core/RecordView.h"

#include <array>
#include <cstring>

int32_t WrapperLink::call(uint32_t selector, uint32_t index, void* record) const
{
    return callback_ ? callback_(EntryProtocol::ProtocolNumber, selector, index, handle_, record) : -1;
}

bool WrapperLink::parameterGesture(uint32_t kind, uint32_t parameterIndex, float value) const
{
    std::array<uint8_t, 12> rec{};
    RecordView r(rec.data());
    r.setU32(0, kind);
    r.setU32(4, parameterIndex);
    r.setF32(8, value);
    return call(1, 1, rec.data()) == 0;
}

bool WrapperLink::statusWordChanged(uint32_t word, uint32_t value) const { return call(2, word, &value) == 0; }

bool WrapperLink::rereadParameterList() const { return call(3, 1, nullptr) == 0; }
bool WrapperLink::userInterfaceWorkEnds() const { return call(4, 1, nullptr) == 0; }
bool WrapperLink::userInterfaceWorkBegins() const { return call(5, 1, nullptr) == 0; }
bool WrapperLink::report(uint32_t value) const { return call(9, 1, &value) == 0; }

std::optional<WrapperLink::HostApplication> WrapperLink::hostApplication() const
{
    // {u64 text length; pointer to text; f32 version}
    std::array<uint8_t, 24> rec{};
    RecordView r(rec.data());
    if (call(13, 1, rec.data()) != 0)
        return std::nullopt;
    HostApplication app;
    const auto length = r.u64(0);
    if (const char* text = r.pointer<const char>(8); text && length > 0 && length < (1u << 20))
        app.name.assign(text, strnlen(text, size_t(length)));
    app.version = r.f32(16);
    return app;
}

bool WrapperLink::setHostFlag(uint32_t index, uint8_t flag) const { return call(17, index, &flag) == 0; }

WrapperLink::ActivationWords WrapperLink::activationWords() const
{
    std::array<uint32_t, 3> words{};
    if (call(18, 0, words.data()) != 0)
        return {};
    return {words[0], words[1], words[2]};
}

float WrapperLink::dspSeconds() const
{
    float v = 0.0f;
    return call(19, 1, &v) == 0 ? v : 0.0f;
}

float WrapperLink::userInterfaceSeconds() const
{
    float v = 0.0f;
    return call(20, 1, &v) == 0 ? v : 0.0f;
}

bool WrapperLink::propertyMessage(uint32_t id, uint32_t size, uint64_t data) const
{
    std::array<uint8_t, 16> rec{};
    RecordView r(rec.data());
    r.setU32(0, id);
    r.setU32(4, size);
    r.setU64(8, data);
    return call(21, 1, rec.data()) == 0;
}
