#include "console/CrashCommand.h"

#include "util/Log.h"

#include <csignal>
#include <cstdlib>

namespace ConsoleCommand {

// The null store is the point of this command: the undefined-behaviour checker
// of a sanitizer build must let it reach the processor and fault.
__attribute__((no_sanitize_undefined)) void CrashCommand::consoleCommand(const Util::String& line)
{
    Util::Log::write(Util::format("Console command \"%1\": ending the process", line));
    if (kind_ == Kind::Abort)
        std::abort();
    // A store through a null pointer: the fault a real defect would raise.
    volatile int* nowhere = nullptr;
    *nowhere = 2001;
    std::raise(SIGSEGV); // where the store did not fault
    std::abort();
}

} // namespace ConsoleCommand
