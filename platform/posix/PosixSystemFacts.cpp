#include "platform/posix/PosixSystemFacts.h"

#include "platform/posix/X11Connection.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sys/utsname.h>
#include <unistd.h>

namespace Platform {
namespace Posix {

Util::String PosixSystemFacts::operatingSystem() const
{
    utsname names{};
    if (::uname(&names) != 0)
        return {};
    return Util::format("%1 %2 %3", names.sysname, names.release, names.machine);
}

uint32_t PosixSystemFacts::logicalProcessorCount() const
{
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? uint32_t(count) : 0;
}

uint64_t PosixSystemFacts::physicalMemoryBytes() const
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
}

std::optional<SystemFacts::ScreenSize> PosixSystemFacts::mainScreenSize() const
{
    // Without DISPLAY there is no screen to ask, and no connection attempt.
    if (const char* name = std::getenv("DISPLAY"); !name || !*name)
        return std::nullopt;
    const X11DisplayHandle display(openX11Display());
    if (!display)
        return std::nullopt;
    const int screen = DefaultScreen(display.get());
    return ScreenSize{uint32_t(DisplayWidth(display.get(), screen)), uint32_t(DisplayHeight(display.get(), screen))};
}

std::optional<SystemFacts::Version> PosixSystemFacts::version() const
{
    utsname names{};
    if (::uname(&names) != 0)
        return std::nullopt;
    unsigned major = 0, minor = 0;
    if (std::sscanf(names.release, "%u.%u", &major, &minor) < 1)
        return std::nullopt;
    return Version{Version::Family::Posix, major, minor};
}

} // namespace Posix

namespace {
const Posix::PosixSystemFacts posixFacts;
std::atomic<const SystemFacts*> installed{nullptr};
} // namespace

const SystemFacts& systemFacts()
{
    const SystemFacts* facts = installed.load(std::memory_order_acquire);
    return facts ? *facts : posixFacts;
}

void installSystemFacts(const SystemFacts* facts) { installed.store(facts, std::memory_order_release); }

} // namespace Platform
