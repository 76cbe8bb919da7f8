#pragma once
#include <cstdint>

// Routes one call of the entry protocol: checks the protocol number, the
// selector, the instance, the argument record and the lock index in that order,
// then holds the selector's critical section (released on every exit, exceptions
// included) while the instance runs the operation. [any-thread]
class EntryDispatcher {
public:
    static int32_t dispatch(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record);

    // Lock rule of a selector, as the selector table gives it.
    enum class Lock {
        None,            // no lock, index not checked (7, 39) or not relevant (0, 1)
        NoneIndexBelow2, // no lock, but the index must be 0 or 1 (37, 38)
        Either,          // index 0 or 1, that section is held
        AudioOnly,       // index 0 only
        UiOnly,          // index 1 only
        Unchecked,       // any index: 1 holds the UI section, any other the processing one
    };
    static Lock lockRule(uint32_t selector);
    static bool needsRecord(uint32_t selector);
};
