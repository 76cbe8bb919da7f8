#pragma once
#include <cstdint>
#include <exception>

// The C entry's guard: runs one call of the entry protocol and lets nothing
// thrown inside reach the host. A call that throws answers the error status of
// its selector (failureStatus) and the log says why; a creation that throws
// leaves the wrapper's result pointer null. [any-thread]
class EntryBarrier {
public:
    // One call through the entry dispatcher.
    static int32_t call(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record) noexcept;
    // Any work that answers a status for `selector` (the entry's own steps before the dispatcher).
    template <typename Work>
    static int32_t guard(uint32_t selector, Work&& work) noexcept;

    // EditorFailed for the editor's own selectors, Rejected for every other one.
    static int32_t failureStatus(uint32_t selector);

private:
    // Logs the reason; logging that fails (memory may be what ran out) is dropped.
    static void logFailure(uint32_t selector, const char* reason) noexcept;
};

template <typename Work>
int32_t EntryBarrier::guard(uint32_t selector, Work&& work) noexcept
{
    try {
        return work();
    } catch (const std::exception& e) {
        logFailure(selector, e.what());
    } catch (...) {
        logFailure(selector, "an exception of unknown type");
    }
    return failureStatus(selector);
}
