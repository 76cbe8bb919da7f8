#include "dsp/ParamDeclaration.h"

#include <cmath>

namespace DSP {

float ParamDeclaration::ToFloat(const ParamValue& value)
{
    return std::visit([](auto v) { return float(v); }, value);
}

ParamValue ParamDeclaration::FromFloat(float value) const
{
    switch (kind) {
    case ParamKind::Float:
        return value;
    case ParamKind::Bool:
        return value >= 0.5f;
    case ParamKind::UInt:
    case ParamKind::Enum:
        break;
    }
    return uint32_t(std::lround(std::fmax(value, 0.0f)));
}

} // namespace DSP
