#include "ui/CommandManager.h"

namespace UI {

void CommandManager::registerHandler(const Util::String& name, const Trackable& owner, Handler handler)
{
    handlers_[name] = Entry{owner.lifeToken(), std::move(handler)};
}

void CommandManager::unregisterHandler(const Util::String& name) { handlers_.erase(name); }

bool CommandManager::invoke(const Command::CommandInvocation& invocation)
{
    const auto it = handlers_.find(invocation.name());
    if (it == handlers_.end())
        return false;
    if (it->second.owner.expired()) {
        handlers_.erase(it);
        return false;
    }
    const Handler handler = it->second.handler; // the handler may re-register
    return handler(invocation);
}

} // namespace UI
