#include "console/NoticeCommand.h"

#include "platform/MessageBox.h"

namespace ConsoleCommand {

void NoticeCommand::consoleCommand(const Util::String&)
{
    Platform::messageBox().show(title_, action_(), Platform::MessageBox::Icon::Information);
}

} // namespace ConsoleCommand
