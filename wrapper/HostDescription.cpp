#include "wrapper/HostDescription.h"

#include <cstdlib>

namespace Wrapper {

namespace Layout = EntryProtocol::Layout;

std::string HostDescription::applicationText() const { return version.empty() ? name : name + " " + version; }

float HostDescription::versionFigure() const { return version.empty() ? 0.0f : std::strtof(version.c_str(), nullptr); }

std::vector<uint8_t> HostDescription::contextBlock() const
{
    std::vector<uint8_t> block(Layout::HostContext::Size, 0);
    EntryProtocol::writeText(block.data(), Layout::HostContext::ApplicationName, name);
    EntryProtocol::writeText(block.data(), Layout::HostContext::ApplicationVersion, version);
    EntryProtocol::write(block.data(), Layout::HostContext::FormatIdentifier, formatIdentifier);
    return block;
}

} // namespace Wrapper
