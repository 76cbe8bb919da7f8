#include "ui/CommandPrompt.h"

#include "ui/Canvas.h"

namespace UI {

CommandPrompt::CommandPrompt(Canvas& canvas, Window* parent, const Util::String& name)
    : Radudar::EditBox(canvas, parent, name)
{
    setProperty("Placeholder", Util::String("Console command (Return runs it, Escape closes)"));
    hide();
}

void CommandPrompt::open()
{
    setText({});
    bringToFront();
    show();
    canvas().tree().setFocus(this);
}

void CommandPrompt::close()
{
    if (canvas().tree().focused() == this)
        canvas().tree().setFocus(nullptr);
    hide();
}

bool CommandPrompt::keyDown(const KeyEvent& key)
{
    if (key.code == KeyEvent::Escape) {
        close();
        return true;
    }
    if (key.code == KeyEvent::Return) {
        const Util::String line = text();
        close();
        entered(line);
        return true;
    }
    return Radudar::EditBox::keyDown(key);
}

} // namespace UI
