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
    // The help text with its usage tail.
    static Util::String helpText();

    void consoleCommand(const Util::String& line) override;
};

} // namespace UI
