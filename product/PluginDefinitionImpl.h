#pragma once
#include "product/PluginDefinitionCommon.h"

namespace TWRelay {

// This product's definition. The embedded resources are registered under
// "QxResEmbed" by the resource manager when it is first used.
class PluginDefinitionImpl final : public PluginDefinitionCommon {
public:
    Text productIdentifier(const HostContext&) const override { return {1, "VO6Relay"}; }
    Text productName(const HostContext&) const override { return {1, "TW 6 Relay"}; }
    Text productLongName(const HostContext&) const override { return {1, "TW 6 Relay"}; }
    Text versionText() const override { return {1, "6.10"}; }
    uint32_t versionNumber() const override { return 6100; }
    uint32_t buildNumber() const override { return 2340; }
    uint32_t productNumber() const override { return 4412275; }
    Util::String productFourCC(const HostContext&) const override { return "Vu6R"; }
    Text productNames(const HostContext&) const override { return {1, "TW 6 Relay\nVO6Relay\nVO6Rlay\nRe"}; }
    Util::String secondProductFourCC(const HostContext&) const override { return "R6I0"; }
    Text textH1(const HostContext&) const override { return {1, "SEND"}; }
    Text textH2(const HostContext&) const override { return {1, "VO6RELAY"}; }

    Text editorApplicationName() const override { return {1, "VU 6 Verov Edodod"}; }
    Text presetsFolder() const override { return {1, "%USERDOCS%/Quillex/VU 6 Verov Edodod/Presets/Relay"}; }
    Text helpFile() const override { return {1, "HTML Help/Default.htm"}; }
    Text analyticsSettingsKey() const override { return {1, "SOFTWARE\\Quillex\\VO6\\Analytics"}; }
    Util::String shortProductIdentifier() const override { return "VO6Relay"; }
    Util::String plainProductName() const override { return "TW 6 Relay"; }
    uint32_t reWireDeviceValue() const override { return 2; }
};

} // namespace TWRelay
