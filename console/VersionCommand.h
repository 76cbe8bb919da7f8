#pragma once
#include "core/ConsoleCommandDelegate.h"

class Plugin;

namespace ConsoleCommand {

// cv: the plug-in's version, the host's and the platform's, one a line, on the
// clipboard for a bug report. [ui-thread]
class VersionCommand final : public Delegate {
public:
    explicit VersionCommand(Plugin& plugin) : plugin_(plugin) {}
    void consoleCommand(const Util::String& line) override;
    // "<product> <version line>\n<host application> <version>\n<platform>\n"
    Util::String text() const;

private:
    Plugin& plugin_;
};

} // namespace ConsoleCommand
