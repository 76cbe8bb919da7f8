#pragma once
#include "util/Text.h"

namespace Platform {

// The local date "yyyy-mm-dd" and time "hh:mm:ss" of now. [any-thread]
struct LocalDateTime {
    Util::String date;
    Util::String time;
};
LocalDateTime localDateTimeNow();

} // namespace Platform
