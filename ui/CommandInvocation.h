#pragma once
#include "util/Text.h"

#include <cstdint>

namespace Command {

// A request that travels by name through a window tree's command manager to
// the handler registered for that name. Subclasses carry their own data.
class CommandInvocation {
public:
    explicit CommandInvocation(Util::String name, uint32_t id = 0) : name_(std::move(name)), id_(id) {}
    virtual ~CommandInvocation() = default;
    const Util::String& name() const { return name_; }
    uint32_t id() const { return id_; }

private:
    Util::String name_;
    uint32_t id_;
};

} // namespace Command
