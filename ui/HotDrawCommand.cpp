#include "ui/HotDrawCommand.h"

#include "platform/MessageBox.h"
#include "ui/RedrawIndicator.h"

#include <sstream>
#include <vector>

namespace UI {

namespace {
constexpr const char* Title = "Hot Draw";

void tell(const Util::String& text)
{
    Platform::messageBox().show(Title, text, Platform::MessageBox::Icon::Information);
}
} // namespace

Util::String HotDrawCommand::helpText()
{
    return Util::String(HelpText) + Name + UsageTail;
}

void HotDrawCommand::consoleCommand(const Util::String& line)
{
    std::istringstream in(line);
    std::vector<Util::String> words;
    for (Util::String w; in >> w;)
        words.push_back(Util::toLower(w));
    auto& indicator = RedrawIndicator::instance();
    using Mode = RedrawIndicator::Mode;
    const Util::String sub = words.size() > 1 ? words[1] : Util::String();
    if (sub == "textonly" && words.size() == 3 && (words[2] == "0" || words[2] == "1")) {
        indicator.setTextOnly(words[2] == "1");
        return tell(indicator.textOnly() ? "Text only" : "Text and areas");
    }
    struct Choice {
        const char* word;
        Mode mode;
        const char* answer;
    };
    static const Choice choices[] = {{"on", Mode::On, "On"},
                                     {"caps", Mode::Caps, "On via CAPS Lock"},
                                     {"cursor", Mode::Cursor, "On via cursor in [0,0 20,20]"},
                                     {"off", Mode::Off, "Off"}};
    for (const Choice& c : choices) {
        if (sub == c.word && words.size() == 2) {
            indicator.setMode(c.mode);
            return tell(c.answer);
        }
    }
    tell(helpText());
}

} // namespace UI
