#include "core/WrapperLink.h"

#include "core/RecordView.h"

#include <array>
#include <cstring>

using EntryProtocol::ReverseIndex;
using EntryProtocol::ReverseSelector;
namespace Layout = EntryProtocol::Layout;

int32_t WrapperLink::call(ReverseSelector selector, uint32_t index, void* record) const
{
    return callback_ ? callback_(EntryProtocol::ProtocolNumber, uint32_t(selector), index, handle_, record) : -1;
}

bool WrapperLink::parameterGesture(EntryProtocol::GestureKind kind, uint32_t parameterIndex, float value) const
{
    std::array<uint8_t, Layout::Gesture::Size> rec{};
    const RecordView r(rec.data());
    r.set(Layout::Gesture::Kind, uint32_t(kind));
    r.set(Layout::Gesture::ParameterIndex, parameterIndex);
    r.set(Layout::Gesture::Value, value);
    return call(ReverseSelector::ParameterGesture, ReverseIndex, rec.data()) == 0;
}

bool WrapperLink::statusWordChanged(uint32_t word, uint32_t value) const
{
    return call(ReverseSelector::StatusWordChanged, word, &value) == 0;
}

bool WrapperLink::rereadParameterList() const
{
    return call(ReverseSelector::RereadParameterList, ReverseIndex, nullptr) == 0;
}

bool WrapperLink::userInterfaceWorkEnds() const
{
    return call(ReverseSelector::UserInterfaceWorkEnds, ReverseIndex, nullptr) == 0;
}

bool WrapperLink::userInterfaceWorkBegins() const
{
    return call(ReverseSelector::UserInterfaceWorkBegins, ReverseIndex, nullptr) == 0;
}

bool WrapperLink::report(uint32_t value) const { return call(ReverseSelector::Report, ReverseIndex, &value) == 0; }

std::optional<WrapperLink::HostApplication> WrapperLink::hostApplication() const
{
    using Reply = Layout::HostApplication;
    std::array<uint8_t, Reply::Size> rec{};
    const RecordView r(rec.data());
    if (call(ReverseSelector::HostApplication, ReverseIndex, rec.data()) != 0)
        return std::nullopt;
    HostApplication app;
    const auto length = r.get(Reply::TextLength);
    if (const char* text = r.pointer<const char>(Reply::Text); text && length > 0 && length < (1u << 20))
        app.name.assign(text, strnlen(text, size_t(length)));
    app.version = r.get(Reply::Version);
    return app;
}

bool WrapperLink::setHostFlag(uint32_t index, uint8_t flag) const
{
    return call(ReverseSelector::HostFlag, index, &flag) == 0;
}

WrapperLink::ActivationWords WrapperLink::activationWords() const
{
    using Reply = Layout::ActivationWords;
    std::array<uint8_t, Reply::Size> rec{};
    const RecordView r(rec.data());
    if (call(ReverseSelector::ActivationWords, EntryProtocol::ActivationWordsIndex, rec.data()) != 0)
        return {};
    return {r.get(Reply::First), r.get(Reply::Second), r.get(Reply::Third)};
}

float WrapperLink::dspSeconds() const
{
    float v = 0.0f;
    return call(ReverseSelector::DspSeconds, ReverseIndex, &v) == 0 ? v : 0.0f;
}

float WrapperLink::userInterfaceSeconds() const
{
    float v = 0.0f;
    return call(ReverseSelector::UserInterfaceSeconds, ReverseIndex, &v) == 0 ? v : 0.0f;
}

bool WrapperLink::propertyMessage(uint32_t id, uint32_t size, uint64_t data) const
{
    using Message = Layout::PropertyMessage;
    std::array<uint8_t, Message::Size> rec{};
    const RecordView r(rec.data());
    r.set(Message::Id, id);
    r.set(Message::DataSize, size);
    r.setPointer(Message::Data, reinterpret_cast<const void*>(uintptr_t(data)));
    return call(ReverseSelector::PropertyMessage, ReverseIndex, rec.data()) == 0;
}
