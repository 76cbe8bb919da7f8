#pragma once
#include <cstdint>
#include <optional>

#include "core/HostVersion.h"

namespace Shuttle {

// The fixed sets of shuttle host numbers that the shuttle's rules test. [any-thread]
class HostSets {
public:
    // Transform rules.
    static bool unsupported(uint32_t host);       // below 37, not 36, host table "supported" clear
    static bool stopClosesPlayback(uint32_t host, std::optional<HostVersion> version);
    static bool linkDropping(uint32_t host);      // 25, 26
    static bool refreshIdles(uint32_t host);      // 5, 6
    // File handler rules.
    static bool supported(uint32_t host);         // the timer exists, refresh works
    static bool writeTimeOut(uint32_t host);
    static bool readTimeOut(uint32_t host);
    static bool rescanInReadyState(uint32_t host);
    static bool silentClose(uint32_t host);
    static bool noSilenceAfterEnd(uint32_t host);
};

} // namespace Shuttle
