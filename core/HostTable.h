#pragma once
#include <cstdint>

#include "util/Text.h"

// The known host applications by shuttle host number: a name (used in clip file
// names and window texts) and three flags. Rows of 37 or more have every flag
// false and an empty name. [any-thread]
class HostTable {
public:
    struct Row {
        const char* name;
        bool supported;
        bool recommend;
        bool gate;
    };
    static constexpr uint32_t RowCount = 37;

    static Row row(uint32_t hostNumber);
    static Util::String name(uint32_t hostNumber) { return row(hostNumber).name; }
    static bool supported(uint32_t hostNumber) { return row(hostNumber).supported; }
    static bool recommend(uint32_t hostNumber) { return row(hostNumber).recommend; }
    static bool gate(uint32_t hostNumber) { return row(hostNumber).gate; }
};
