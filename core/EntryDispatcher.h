#pragma once
#include <cstdint>

// Routes one call of the entry protocol: checks the protocol number, the
// selector, the instance, the argument record and the lock index in that order
// (see EntryProtocol::SelectorRules), then holds the selector's critical section
// (released on every exit, exceptions included) while the instance runs the
// operation. An exception of the instance leaves the call; the C entry stops it
// there. [any-thread]
class EntryDispatcher {
public:
    static int32_t dispatch(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record);
};
