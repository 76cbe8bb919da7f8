#pragma once
#include "platform/SystemFacts.h"

namespace Platform::Posix {

// uname for the system and its version, sysconf for processors and memory,
// the default X display's first screen for the screen size.
class PosixSystemFacts final : public SystemFacts {
public:
    Util::String operatingSystem() const override;
    uint32_t logicalProcessorCount() const override;
    uint64_t physicalMemoryBytes() const override;
    std::optional<ScreenSize> mainScreenSize() const override;
    std::optional<Version> version() const override;
};

} // namespace Platform::Posix
