#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/EntryProtocol.h"

namespace Wrapper {

// What the wrapper tells the core about its host: the host application's name
// and version (answered to reverse call 13 and put in the first two texts of
// the host context block) and the plug-in format.
struct HostDescription {
    std::string name = "relay-host";
    std::string version; // "11.3.1"; empty when the host gives none
    uint32_t formatIdentifier = EntryProtocol::Format::Vst;

    // The name, then the version after a space when there is one.
    std::string applicationText() const;
    // The version's leading number ("11.3" of "11.3.1"); 0 without a version.
    float versionFigure() const;
    // The host context block, EntryProtocol::Layout::HostContext::Size bytes.
    std::vector<uint8_t> contextBlock() const;
};

} // namespace Wrapper
