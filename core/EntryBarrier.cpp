#include "core/EntryBarrier.h"

#include "core/EntryDispatcher.h"
#include "core/EntryProtocol.h"
#include "util/Log.h"

void EntryBarrier::logFailure(uint32_t selector, const char* reason) noexcept
{
    try {
        Util::Log::write(Util::format("Selector %1 failed: %2", selector, reason));
    } catch (...) {
    }
}

int32_t EntryBarrier::failureStatus(uint32_t selector)
{
    using EntryProtocol::Selector;
    switch (Selector(selector)) {
    case Selector::EditorOperation:
    case Selector::EditorInputEvent:
    case Selector::EditorInputEventWithPoint: return EntryProtocol::EditorFailed;
    default: return EntryProtocol::Rejected;
    }
}

int32_t EntryBarrier::call(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record) noexcept
{
    return guard(selector, [&] { return EntryDispatcher::dispatch(protocol, selector, lockIndex, instance, record); });
}
