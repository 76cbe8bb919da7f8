#include "console/VersionCommand.h"

#include "core/HostVersion.h"
#include "core/Plugin.h"
#include "platform/Clipboard.h"
#include "platform/SystemFacts.h"

namespace ConsoleCommand {

void VersionCommand::consoleCommand(const Util::String&) { Platform::clipboard().setText(text()); }

Util::String VersionCommand::text() const
{
    const Util::String& host = plugin_.hostApplicationName();
    const auto version = HostVersion::parse(host, plugin_.hostApplicationVersion());
    const Util::String hostVersion =
        version ? Util::format("%1.%2.%3", version->major, version->minor, version->patch) : "unknown version";
    return Util::format("%1 %2\n%3 %4\n%5\n", plugin_.definition().plainProductName(), plugin_.versionLine(),
                        host.empty() ? "Unknown host" : host, hostVersion,
                        Platform::systemFacts().operatingSystem());
}

} // namespace ConsoleCommand
