#pragma once
#include <cstdint>
#include <optional>

#include "core/HostContext.h"
#include "util/Text.h"

// The host application's version as the wrapper reports it: in the host context
// block, or answering reverse call 13. The host process is one, so the answer
// to reverse 13 is kept process-wide, for a wrapper that leaves the block
// without a version. [any-thread]
struct HostVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;

    // From the host's text ("Pro Tools 11.3.1" -> 11.3.1) when it carries a dotted
    // version, else from the 32-bit float figure (11.3 -> 11.3.0); nothing when
    // neither tells a version.
    static std::optional<HostVersion> parse(const Util::String& text, float figure);
    // From the block's version text, else the remembered version.
    static std::optional<HostVersion> of(const HostContext& context);

    static void remember(const HostVersion& version);
    static std::optional<HostVersion> remembered();
    static void forget(); // tests

    bool atMost(uint32_t maj, uint32_t min, uint32_t pat) const;
};
