#include "console/BugCommand.h"

#include "core/ConsoleCommandManager.h"
#include "platform/MessageBox.h"
#include "platform/UrlOpener.h"

#include <cctype>

namespace ConsoleCommand {

namespace {
Util::String encoded(const Util::String& text)
{
    static const char hex[] = "0123456789ABCDEF";
    Util::String out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~')
            out.push_back(c);
        else if (c == ' ')
            out.push_back('+');
        else {
            out.push_back('%');
            out.push_back(hex[byte >> 4]);
            out.push_back(hex[byte & 0xF]);
        }
    }
    return out;
}
} // namespace

Util::String BugCommand::query(const std::vector<std::pair<Util::String, Util::String>>& pairs)
{
    Util::String text;
    for (const auto& [key, value] : pairs)
        text += (text.empty() ? "" : "&") + encoded(key) + "=" + encoded(value);
    return text;
}

Util::String BugCommand::url(const Util::String& line) const
{
    Util::String summary;
    for (const auto& word : Manager::arguments(line))
        summary += (summary.empty() ? "" : " ") + word;
    return Util::String(Page) + "?" +
           query({{"bug", product_()}, {"os", PlatformWord}, {"environment", environment_()}, {"summary", summary}});
}

void BugCommand::consoleCommand(const Util::String& line)
{
    const Util::String address = url(line);
    if (!Platform::urlOpener().openUrl(address))
        Platform::messageBox().show("Error", Util::format("The web browser could not open %1", address),
                                    Platform::MessageBox::Icon::Error);
}

} // namespace ConsoleCommand
