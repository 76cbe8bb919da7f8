#pragma once
#include "core/ConsoleCommandDelegate.h"

#include <functional>

namespace ConsoleCommand {

// A command that does one thing and tells the user what came of it in a
// notice under its title: the design settings' switches and scriptconsole.
// [ui-thread]
class NoticeCommand final : public Delegate {
public:
    // Does the command's work and answers the notice's text.
    using Action = std::function<Util::String()>;
    NoticeCommand(Util::String title, Action action) : title_(std::move(title)), action_(std::move(action)) {}
    void consoleCommand(const Util::String& line) override;

private:
    Util::String title_;
    Action action_;
};

} // namespace ConsoleCommand
