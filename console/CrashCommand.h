#pragma once
#include "core/ConsoleCommandDelegate.h"

namespace ConsoleCommand {

// crash2001 ends the host process with a memory fault (SIGSEGV); crash2002
// aborts it (SIGABRT). For testing a host's and a crash reporter's handling
// of a plug-in that dies. [ui-thread]
class CrashCommand final : public Delegate {
public:
    enum class Kind { Fault, Abort };
    explicit CrashCommand(Kind kind) : kind_(kind) {}
    [[noreturn]] void consoleCommand(const Util::String& line) override;

private:
    Kind kind_;
};

} // namespace ConsoleCommand
