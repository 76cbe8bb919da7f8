#pragma once
#include "core/EntryProtocol.h"
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

// The parameter information record of selectors 9 and 13, laid out as
// EntryProtocol::Layout::ParameterInformation: display name, second text,
// enumeration labels joined by TAB, kind (0 float, 1 bool, 2 enumeration), the
// first attribute word, the words 1, 1, 0, the f32 minimum, maximum and
// default, the second attribute word and the display style code. The first
// 256 bytes stay as the caller gave them. [any-thread]
class ParamInfoRecord {
public:
    using Layout = EntryProtocol::Layout::ParameterInformation;
    static constexpr std::size_t Size = Layout::Size;

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
