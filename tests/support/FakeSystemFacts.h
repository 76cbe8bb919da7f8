#pragma once
#include "platform/SystemFacts.h"

// A machine whose facts the test sets; installed while it lives.
class FakeSystemFacts final : public Platform::SystemFacts {
public:
    FakeSystemFacts() { Platform::installSystemFacts(this); }
    ~FakeSystemFacts() override { Platform::installSystemFacts(nullptr); }
    FakeSystemFacts(const FakeSystemFacts&) = delete;
    FakeSystemFacts& operator=(const FakeSystemFacts&) = delete;

    Util::String operatingSystem() const override { return system; }
    uint32_t logicalProcessorCount() const override { return cores; }
    uint64_t physicalMemoryBytes() const override { return memory; }
    std::optional<ScreenSize> mainScreenSize() const override { return screen; }
    std::optional<Version> version() const override { return systemVersion; }

    Util::String system = "TestOS 2.5 x86_64";
    uint32_t cores = 12;
    uint64_t memory = 16ull << 30;
    std::optional<ScreenSize> screen = ScreenSize{2560, 1440};
    std::optional<Version> systemVersion = Version{Version::Family::Posix, 6, 1};
};
