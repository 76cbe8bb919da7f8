#include "platform/ThreadId.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

namespace {
// Every lock and every block asks; the initial-exec model reads the value
// straight off the thread pointer instead of calling the loader's lookup, and
// a zero start (no thread has id 0) needs no initialisation guard.
thread_local uint32_t cachedId __attribute__((tls_model("initial-exec"))) = 0;
} // namespace

uint32_t currentThreadId()
{
    if (cachedId == 0) [[unlikely]]
        cachedId = uint32_t(::syscall(SYS_gettid));
    return cachedId;
}

} // namespace Platform
