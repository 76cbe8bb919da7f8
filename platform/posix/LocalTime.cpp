#include "platform/LocalTime.h"

#include <cstdio>
#include <ctime>

namespace Platform {

LocalDateTime localDateTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32], time[32];
    std::snprintf(date, sizeof date, "%04u-%02u-%02u", unsigned(local.tm_year + 1900) % 10000u,
                  unsigned(local.tm_mon + 1) % 100u, unsigned(local.tm_mday) % 100u);
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", unsigned(local.tm_hour) % 100u, unsigned(local.tm_min) % 100u,
                  unsigned(local.tm_sec) % 100u);
    return {date, time};
}

int64_t secondsSinceEpoch() { return int64_t(std::time(nullptr)); }

Util::String localTimeStampNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    const size_t length = std::strftime(stamp, sizeof stamp, "%FT%T%z", &local);
    return Util::String(stamp, length);
}

} // namespace Platform
