#pragma once
#include <cstdint>
#include <string_view>

#include "util/Text.h"

// Identifies the host application from the lower-cased file name of the host
// process. The core and the shuttle each keep a number of their own; their word
// lists differ slightly (rows 31, 34 and 35), so one process can get two numbers.
// [any-thread]
class HostIdentification {
public:
    static constexpr uint32_t Unknown = 36;

    static uint32_t coreHostNumber(std::string_view fileName);
    static uint32_t shuttleHostNumber(std::string_view fileName);

    // Both, for the running process (Platform::hostProcessFileName()).
    static uint32_t coreHostNumberOfProcess();
    static uint32_t shuttleHostNumberOfProcess();
};
