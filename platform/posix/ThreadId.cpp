#include "platform/ThreadId.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

uint32_t currentThreadId()
{
    thread_local const uint32_t id = uint32_t(::syscall(SYS_gettid));
    return id;
}

} // namespace Platform
