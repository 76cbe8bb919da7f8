#pragma once
#include <cstdint>
#include <optional>

#include "util/Text.h"

// The host application's version as the wrapper reports it (reverse call 13).
// The host process is one, so the first answer is kept process-wide for the
// product definition, which answers selector 0 without an instance. [any-thread]
struct HostVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;

    // From the host's text ("Pro Tools 11.3.1" -> 11.3.1) when it carries a dotted
    // version, else from the 32-bit float figure (11.3 -> 11.3.0); nothing when
    // neither tells a version.
    static std::optional<HostVersion> parse(const Util::String& text, float figure);

    static void remember(const HostVersion& version);
    static std::optional<HostVersion> remembered();
    static void forget(); // tests

    bool atMost(uint32_t maj, uint32_t min, uint32_t pat) const;
};
