#pragma once
#include "util/Text.h"

#include <cstdint>
#include <map>
#include <optional>

namespace Analytics {

// One usage report, copied by value into the manager's queue. A record
// without a kind is never sent. Custom dimension 10 holds the local time at
// which the record was made.
struct Event {
    enum class Kind { Event, ScreenView };
    static constexpr int CreationTimeDimension = 10;
    static constexpr int FirstDimension = 1;
    static constexpr int LastDimension = 20;

    Event(); // [any-thread], not audio

    static Event event(Util::String category, Util::String action);
    static Event screenView(Util::String screenName);

    std::optional<Kind> kind;
    Util::String category;   // event kind
    Util::String action;     // event kind
    Util::String screenName; // screen view kind
    std::optional<Util::String> label;
    std::optional<int32_t> value;
    std::map<int, Util::String> customDimensions;          // index 1 to 20
    std::map<Util::String, Util::String> extraParameters; // name to text
};

} // namespace Analytics
