#pragma once
#include <cstdint>

// The C entry's guard: runs one call through the entry dispatcher and lets
// nothing thrown inside reach the host. A call that throws answers the error
// status of its selector (failureStatus) and the log says why; a creation that
// throws leaves the wrapper's result pointer null. [any-thread]
class EntryBarrier {
public:
    static int32_t call(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record) noexcept;

    // EditorFailed for the editor's own selectors, Rejected for every other one.
    static int32_t failureStatus(uint32_t selector);
};
