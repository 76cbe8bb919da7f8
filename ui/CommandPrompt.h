#pragma once
#include "ui/RadudarEditBox.h"

namespace UI {

// The console's one-line prompt ("Console Prompt"): a text field across the
// top of the plug-in window, hidden until opened. Return closes it and hands
// the line to `entered`; Escape closes it and nothing runs. [ui-thread]
class CommandPrompt final : public Radudar::EditBox {
public:
    static constexpr int Height = 22;

    CommandPrompt(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void(const Util::String& line)> entered;

    // Shows the prompt empty, in front of every other window, with the key focus.
    void open();
    void close();

    bool keyDown(const KeyEvent& key) override;
};

} // namespace UI
