#pragma once
#include "core/ConsoleCommandDelegate.h"

class Plugin;

namespace ConsoleCommand {

// savelayout: writes the open plug-in window's layout tree as the canvas's
// layout file into the resource folder (resourcedir), where the next window
// looks for its layout before the embedded one. [ui-thread]
class SaveLayoutCommand final : public Delegate {
public:
    explicit SaveLayoutCommand(Plugin& plugin) : plugin_(plugin) {}
    void consoleCommand(const Util::String& line) override;

private:
    Plugin& plugin_;
};

} // namespace ConsoleCommand
