#pragma once
#include "console/ConsoleParam.h"
#include "core/ConsoleCommandDelegate.h"

#include <functional>

namespace ConsoleCommand {

// dumpparams: every element parameter as a line of the product's parameter
// registration list (element, parameter, identifier, display name; tab
// separated), on the clipboard, confirmed with a notice. [ui-thread]
class DumpParamsCommand final : public Delegate {
public:
    using Params = std::function<std::vector<ConsoleParam>()>;
    explicit DumpParamsCommand(Params params) : params_(std::move(params)) {}
    void consoleCommand(const Util::String& line) override;
    Util::String text() const;

private:
    Params params_;
};

} // namespace ConsoleCommand
