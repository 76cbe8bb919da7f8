#pragma once
#include "core/ConsoleCommandDelegate.h"
#include "util/Text.h"

namespace UI {

// The "hotdraw" console command: switches the redraw indicator
// (RedrawIndicator) on, on via Caps Lock, on via the cursor square, or off,
// or limits it to text ("hotdraw textonly 0|1"); answers with the state it
// set, or with its usage. [ui-thread]
class HotDrawCommand final : public ConsoleCommand::Delegate {
public:
    static constexpr const char* Name = "hotdraw";
    static constexpr const char* HelpText =
        "Allows us to see how often we're drawing so we can avoid extra drawing. Usage: ";
    // Shown behind the command's name, after the help text.
    static constexpr const char* UsageTail = " [on|caps|cursor|off] OR hotdraw textonly [0|1]";
    // The help text with the name and the usage tail.
    static Util::String helpText();

    void consoleCommand(const Util::String& line) override;
};

} // namespace UI
