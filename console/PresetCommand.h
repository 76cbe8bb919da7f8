#pragma once
#include "core/ConsoleCommandDelegate.h"

#include <cstdint>
#include <vector>

class Plugin;

namespace ConsoleCommand {

// preset status | saveall | verbose [on|off], over the product's presets
// folder. A preset is a ".preset" file holding a state chunk, the bytes the
// host keeps for an instance, so the state-restore path reads it back.
// saveall restores each preset into the instance and writes it again with the
// current settings, then puts the instance's own state back. Verbose files
// hold every parameter and, under "Preset Parameters", each parameter's
// element, name and range; other files leave out the parameters at their
// defaults (a restore gives those their defaults). The verbose switch is kept
// in the product's settings ("PresetVerbose"). [ui-thread]
class PresetCommand final : public Delegate {
public:
    static constexpr const char* VerboseSetting = "PresetVerbose";
    static constexpr const char* Extension = ".preset";

    explicit PresetCommand(Plugin& plugin) : plugin_(plugin) {}
    void consoleCommand(const Util::String& line) override;

    // The product's presets folder, with the documents folder in place of %USERDOCS%.
    Util::String folder() const;
    // The chunk a preset file gets for the instance's current state.
    std::vector<uint8_t> presetChunk(bool verbose);

private:
    void saveAll();

    Plugin& plugin_;
};

} // namespace ConsoleCommand
