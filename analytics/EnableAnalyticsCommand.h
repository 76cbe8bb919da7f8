#pragma once
#include "ui/CommandInvocation.h"

namespace Command {

// Switches the instance's reporting on or off for as long as it lives (the
// stored "EnableAnalytics" stays as it is). [ui-thread]
class EnableAnalyticsCommand final : public CommandInvocation {
public:
    static constexpr const char* Name = "Enable Analytics";

    explicit EnableAnalyticsCommand(bool enabled, uint32_t id = 0) : CommandInvocation(Name, id), enabled_(enabled) {}
    bool enabled() const { return enabled_; }

private:
    bool enabled_;
};

} // namespace Command
