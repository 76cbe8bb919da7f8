#pragma once
#include "util/Text.h"

namespace ConsoleCommand {

// Takes a console command line meant for it. [ui-thread]
class Delegate {
public:
    virtual ~Delegate() = default;
    virtual void consoleCommand(const Util::String& line) = 0;
};

} // namespace ConsoleCommand
