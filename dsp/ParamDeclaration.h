#pragma once
#include "util/Text.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace DSP {

// The value types of element parameters.
enum class ParamKind : uint32_t { UInt = 0, Enum = 1, Float = 2, Bool = 3 };

// One parameter value of any kind (enumerations hold their index as uint32_t).
using ParamValue = std::variant<uint32_t, float, bool>;

// What an element declares about one parameter. Ranges and the default are kept
// as floats for every kind; an enumeration ranges over its value names' indices.
struct ParamDeclaration {
    Util::String name;
    ParamKind kind = ParamKind::Float;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float defaultValue = 0.0f;
    std::vector<Util::String> valueNames;
    uint64_t descriptor = 0;

    // The value as a float: booleans 0 or 1, indices as they are. [any-thread]
    static float ToFloat(const ParamValue& value);
    // A float in this parameter's own type (rounded for indices). [any-thread]
    ParamValue FromFloat(float value) const;
};

} // namespace DSP
