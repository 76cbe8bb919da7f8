#pragma once
#include "core/ParamListEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace Controller {
class Object;
}
namespace DSP {
struct ParamDeclaration;
}

// The 4392-byte parameter information record of selectors 9 and 13 (little-endian,
// text fields NUL-terminated and cut to their size less one byte):
//      0  256  reserved: left as the caller gave it
//    256 1024  display name
//   1280 1024  second text
//   2304 2048  enumeration labels joined by TAB (enumerations only)
//   4352    4  kind: 0 float, 1 bool, 2 enumeration
//   4356    4  first attribute word
//   4360   12  the words 1, 1, 0
//   4372   12  f32 minimum, maximum, default
//   4384    4  second attribute word
//   4388    4  third attribute word: the display style code
// [any-thread]
class ParamInfoRecord {
public:
    static constexpr std::size_t Size = 4392;
    static constexpr std::size_t DisplayNameOffset = 256;
    static constexpr std::size_t DisplayNameSize = 1024;
    static constexpr std::size_t SecondTextOffset = 1280;
    static constexpr std::size_t SecondTextSize = 1024;
    static constexpr std::size_t LabelsOffset = 2304;
    static constexpr std::size_t LabelsSize = 2048;
    static constexpr std::size_t KindOffset = 4352;
    static constexpr std::size_t FirstAttributeOffset = 4356;
    static constexpr std::size_t MinimumOffset = 4372;
    static constexpr std::size_t MaximumOffset = 4376;
    static constexpr std::size_t DefaultOffset = 4380;
    static constexpr std::size_t SecondAttributeOffset = 4384;
    static constexpr std::size_t ThirdAttributeOffset = 4388;

    // How a value is best shown; the third attribute word.
    enum DisplayStyle : uint32_t { Continuous = 0, Stepped = 1, Switch = 2, List = 3 };

    struct Fields {
        Util::String displayName;
        Util::String secondText;
        ParamListEntry::Kind kind = ParamListEntry::Float;
        std::vector<Util::String> labels; // enumerations only
        float minimum = 0.0f;
        float maximum = 1.0f;
        float defaultValue = 0.0f;
        std::array<uint32_t, 3> attributes{};
    };

    // The kind, range, default and labels of a parameter as its controller (a
    // float, bool or enumeration parameter) has them; nothing for another kind
    // of controller. An enumeration shown as a plain number (kind Float) keeps
    // its indices as the range. Enumeration labels must number maximum -
    // minimum + 1; otherwise "Enum size mismatch %1 != %2" is logged and the
    // labels are left out.
    static std::optional<Fields> describe(const Controller::Object& controller, ParamListEntry::Kind kind);
    // The same from the element's declaration, for a parameter without a controller.
    static Fields describe(const DSP::ParamDeclaration& declaration, ParamListEntry::Kind kind);

    // Writes every field but the reserved bytes.
    static void write(void* record, const Fields& fields);
};
