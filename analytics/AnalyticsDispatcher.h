#pragma once
#include "analytics/Event.h"

namespace Analytics {

// Sends usage events to a measurement service.
class AnalyticsDispatcher {
public:
    virtual ~AnalyticsDispatcher() = default;
    // Hands the event on; false when it cannot be sent. [any-thread], not audio
    virtual bool dispatch(const Event& event) = 0;
};

} // namespace Analytics
