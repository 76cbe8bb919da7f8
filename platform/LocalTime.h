#pragma once
#include "util/Text.h"

#include <cstdint>

namespace Platform {

// The local date "yyyy-mm-dd" and time "hh:mm:ss" of now. [any-thread]
struct LocalDateTime {
    Util::String date;
    Util::String time;
};
LocalDateTime localDateTimeNow();
// Seconds since 1970-01-01 00:00 UTC, the clock of stored time stamps. [any-thread]
int64_t secondsSinceEpoch();

// Now in local time with the zone's offset, "yyyy-mm-ddThh:mm:ss+hhmm" (the
// form of strftime's "%FT%T%z"). [any-thread]
Util::String localTimeStampNow();

} // namespace Platform
