#pragma once
#include "analytics/Event.h"
#include "ui/CommandInvocation.h"

#include <utility>

namespace Command {

// Asks the instance's analytics manager, through the window's commands, to
// post an event. [ui-thread]
class PostEventCommand final : public CommandInvocation {
public:
    static constexpr const char* Name = "Post Event";

    explicit PostEventCommand(Analytics::Event event, bool immediate = true, uint32_t id = 0)
        : CommandInvocation(Name, id), event_(std::move(event)), immediate_(immediate)
    {
    }
    const Analytics::Event& event() const { return event_; }
    bool immediate() const { return immediate_; }

private:
    Analytics::Event event_;
    bool immediate_;
};

} // namespace Command
