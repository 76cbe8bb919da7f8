#pragma once
#include <array>
#include <cstdint>

#include "util/Text.h"

// The wrapper's 1028-byte host context block: eight 128-byte text fields, then
// the format identifier. The core copies it whole; of the texts it reads only the
// host application's version, which our wrappers put in the second.
struct HostContext {
    static constexpr size_t Size = 1028;
    static constexpr size_t FormatOffset = 1024;
    std::array<uint8_t, Size> bytes{};

    static HostContext fromBytes(const void* data);
    uint32_t formatIdentifier() const;
    Util::String field(size_t index) const; // 0..7
    // The host application's version as the wrapper wrote it; empty when it did not.
    Util::String applicationVersion() const;
    void setFormatIdentifier(uint32_t id);
    void setField(size_t index, const Util::String& text);
};

// Short name of a format identifier ("SA" ... "VST3"); empty for unknown values.
Util::String formatShortName(uint32_t formatIdentifier);
