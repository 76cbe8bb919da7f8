#include "console/DumpParamsCommand.h"

#include "platform/Clipboard.h"
#include "platform/MessageBox.h"

namespace ConsoleCommand {

void DumpParamsCommand::consoleCommand(const Util::String&)
{
    Platform::clipboard().setText(text());
    Platform::messageBox().show("Params Dumped!", "WooHa, it worked! Paste your params list into Excel.",
                                Platform::MessageBox::Icon::Information);
}

// The identifier is the element's and the parameter's names joined by a dot,
// as the instance's list of every parameter names them.
Util::String DumpParamsCommand::text() const
{
    Util::String text;
    for (const ConsoleParam& param : params_())
        text += Util::format("%1\t%2\t%1.%2\t%2\n", param.element, param.name);
    return text;
}

} // namespace ConsoleCommand
