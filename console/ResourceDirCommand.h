#pragma once
#include "core/ConsoleCommandDelegate.h"

namespace Util {
class ConfigFile;
}

namespace ConsoleCommand {

// resourcedir [path]: where resources are looked for before the embedded
// table. No path: nowhere (the embedded resources as they are). An existing
// folder: there first. A folder that does not exist: after the user agrees,
// it is made and every embedded resource is written into it, byte for byte
// under its own name, and it is looked in first from then on. The choice is
// kept in the product's settings ("ResourceDirectory") and applied again to
// every new instance. [ui-thread]
class ResourceDirCommand final : public Delegate {
public:
    static constexpr const char* Setting = "ResourceDirectory";

    explicit ResourceDirCommand(Util::ConfigFile& settings) : settings_(settings) {}
    void consoleCommand(const Util::String& line) override;

    // Applies the folder kept in the settings, when one is. [any-thread], not audio
    static void applyKept(Util::ConfigFile& settings);

private:
    void use(const Util::String& folder);
    // Makes the folder and writes every embedded resource into it; the reason when it fails.
    static Util::String dumpInto(const Util::String& folder);

    Util::ConfigFile& settings_;
};

} // namespace ConsoleCommand
