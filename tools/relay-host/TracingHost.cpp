#include "TracingHost.h"

#include <cstdio>

namespace RelayHost {

int32_t TracingHost::answer(EntryProtocol::ReverseSelector selector, uint32_t index, void* record)
{
    if (verbose_)
        std::fprintf(stderr, "relay-host: reverse call %u (index %u)\n", uint32_t(selector), index);
    return HostCallbacks::answer(selector, index, record);
}

void TracingHost::statusWordChanged(uint32_t word, uint32_t value)
{
    if (verbose_)
        std::fprintf(stderr, "relay-host: status word %u is now %u\n", word, value);
    HostCallbacks::statusWordChanged(word, value);
}

} // namespace RelayHost
