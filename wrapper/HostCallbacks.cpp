#include "wrapper/HostCallbacks.h"

namespace Wrapper {

using EntryProtocol::ReverseSelector;
namespace Layout = EntryProtocol::Layout;

HostCallbacks::HostCallbacks(HostDescription host) : host_(std::move(host)), applicationText_(host_.applicationText()) {}

int32_t HostCallbacks::reverseCall(int32_t protocol, uint32_t selector, uint32_t index, void* handle, void* record)
{
    if (protocol != EntryProtocol::ProtocolNumber || !handle)
        return EntryProtocol::WrongProtocol;
    return static_cast<HostCallbacks*>(handle)->answer(ReverseSelector(selector), index, record);
}

int32_t HostCallbacks::answer(ReverseSelector selector, uint32_t index, void* record)
{
    switch (selector) {
    case ReverseSelector::HostApplication: return answerHostApplication(record);
    case ReverseSelector::ActivationWords: {
        if (!record)
            return EntryProtocol::NullRecord;
        uint32_t first = 0, second = 0, third = 0;
        activationWords(first, second, third);
        EntryProtocol::write(record, Layout::ActivationWords::First, first);
        EntryProtocol::write(record, Layout::ActivationWords::Second, second);
        EntryProtocol::write(record, Layout::ActivationWords::Third, third);
        return EntryProtocol::Success;
    }
    case ReverseSelector::DspSeconds:
    case ReverseSelector::UserInterfaceSeconds:
        if (record)
            EntryProtocol::write(record, Layout::HostFloat::Value, 0.0f);
        return EntryProtocol::Success;
    case ReverseSelector::StatusWordChanged:
        statusWordChanged(index, record ? EntryProtocol::read(record, Layout::Word::Value) : 0);
        return EntryProtocol::Success;
    case ReverseSelector::RereadParameterList: parameterListChanged(); return EntryProtocol::Success;
    case ReverseSelector::ParameterGesture:
        if (record)
            parameterGesture(EntryProtocol::GestureKind(EntryProtocol::read(record, Layout::Gesture::Kind)),
                             EntryProtocol::read(record, Layout::Gesture::ParameterIndex),
                             EntryProtocol::read(record, Layout::Gesture::Value));
        return EntryProtocol::Success;
    default: return EntryProtocol::Success;
    }
}

// The text stays ours; the core copies it.
int32_t HostCallbacks::answerHostApplication(void* record)
{
    using Reply = Layout::HostApplication;
    if (!record)
        return EntryProtocol::NullRecord;
    EntryProtocol::write(record, Reply::TextLength, uint64_t(applicationText_.size()));
    EntryProtocol::writeAddress(record, Reply::Text, applicationText_.c_str());
    EntryProtocol::write(record, Reply::Version, host_.versionFigure());
    return EntryProtocol::Success;
}

void HostCallbacks::statusWordChanged(uint32_t, uint32_t) { statusWordsChanged_ = true; }

void HostCallbacks::parameterListChanged() { parameterListChanged_ = true; }

// 1, 0, 0 unless a host format says otherwise.
void HostCallbacks::activationWords(uint32_t& first, uint32_t& second, uint32_t& third)
{
    first = 1;
    second = 0;
    third = 0;
}

HostCallbacks::Updates HostCallbacks::takeUpdates()
{
    return {statusWordsChanged_.exchange(false), parameterListChanged_.exchange(false)};
}

} // namespace Wrapper
