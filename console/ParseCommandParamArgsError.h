#pragma once
#include "util/ExceptionBase.h"

namespace ConsoleCommand {

// The arguments of a parameter command do not go together; the text says why.
class ParseCommandParamArgsError : public Exception::Base {
public:
    using Exception::Base::Base;
};

} // namespace ConsoleCommand
