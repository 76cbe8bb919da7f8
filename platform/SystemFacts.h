#pragma once
#include "util/Text.h"

#include <cstdint>
#include <optional>

namespace Platform {

// What the machine is: the operating system and its version, the processors,
// the memory, the main screen. Read when asked, never cached. Tests install
// their own. Every operation: [any-thread], not audio.
class SystemFacts {
public:
    struct ScreenSize {
        uint32_t width = 0;
        uint32_t height = 0;
    };
    struct Version {
        // The families a platform check tells apart; every POSIX system is one.
        enum class Family { Windows9x, WindowsNT, Posix };
        Family family = Family::Posix;
        uint32_t major = 0;
        uint32_t minor = 0;
    };

    virtual ~SystemFacts() = default;
    // A one-line description of the operating system, e.g. "Linux 6.1.0 x86_64".
    virtual Util::String operatingSystem() const = 0;
    virtual uint32_t logicalProcessorCount() const = 0;
    virtual uint64_t physicalMemoryBytes() const = 0;
    // The main screen's size in pixels; none without a display.
    virtual std::optional<ScreenSize> mainScreenSize() const = 0;
    // The system's version; none when the query fails.
    virtual std::optional<Version> version() const = 0;
};

// The installed facts, else the system's own.
const SystemFacts& systemFacts();
// nullptr puts the system's back; the caller keeps ownership.
void installSystemFacts(const SystemFacts* facts);

} // namespace Platform
