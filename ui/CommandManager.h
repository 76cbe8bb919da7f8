#pragma once
#include "ui/CommandInvocation.h"
#include "util/Trackable.h"

#include <functional>
#include <map>

namespace UI {

// Routes command invocations to the handler registered under their name.
// [ui-thread]
class CommandManager {
public:
    using Handler = std::function<bool(const Command::CommandInvocation&)>;

    // Registers `handler` for `name` while `owner` lives; a later registration
    // of the same name replaces the earlier one.
    void registerHandler(const Util::String& name, const Trackable& owner, Handler handler);
    void unregisterHandler(const Util::String& name);
    // True when a live handler took the invocation.
    bool invoke(const Command::CommandInvocation& invocation);

private:
    struct Entry {
        std::weak_ptr<void> owner;
        Handler handler;
    };
    std::map<Util::String, Entry> handlers_;
};

} // namespace UI
