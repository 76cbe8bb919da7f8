#include "core/HostParameters.h"

#include "core/BlockPass.h"
#include "core/EntryProtocol.h"

HostParameters::HostParameters(ParamList automatable, ParamList second, BlockPass& blockPass)
    : automatable_(std::move(automatable)), second_(std::move(second)), blockPass_(blockPass)
{
}

template <typename Call>
int32_t HostParameters::onCallersSide(uint32_t lockIndex, Call&& call)
{
    if (lockIndex != EntryProtocol::ProcessingLockIndex)
        return call();
    return blockPass_.asProcessingThread(std::forward<Call>(call));
}

int32_t HostParameters::describe(List which, uint32_t count, void* records) const
{
    return list(which).describe(count, records) ? EntryProtocol::Success : EntryProtocol::Rejected;
}

int32_t HostParameters::value(List which, uint32_t index, float& value, uint32_t lockIndex)
{
    return onCallersSide(lockIndex, [&] {
        const auto read = list(which).value(index);
        if (!read)
            return EntryProtocol::Rejected;
        value = *read;
        return EntryProtocol::Success;
    });
}

int32_t HostParameters::setValue(List which, uint32_t index, float value, uint32_t lockIndex)
{
    if (index >= list(which).count())
        return EntryProtocol::Rejected;
    if (valueHook_ && valueHook_(which, index, value) == 1)
        return EntryProtocol::Success;
    return onCallersSide(lockIndex, [&] {
        return list(which).setValue(index, value) ? EntryProtocol::Success : EntryProtocol::Rejected;
    });
}
