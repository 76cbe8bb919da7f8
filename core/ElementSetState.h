#pragma once
#include "dsp/ParamDeclaration.h"
#include "util/TypedValue.h"

#include <memory>
#include <optional>
#include <vector>

namespace DSP {
class DSPSetImpl;
class Element;
} // namespace DSP

// The element parameters in the saved state. "DSP State" holds
//   {"DSP Elements": {<element name>: {<parameter name>: value}}}
// with float parameters as "Float", switches as "Bool", enumerations and
// unsigned parameters as "UInt". States of the older layout
// (major version 0) hold one top-level member per parameter, named by its key
// path "<element name>.<parameter name>", with values typed the same way.
//
// Reading gives a value for every parameter of every element of the set: the
// state's value where it names one, the default otherwise, so that a restored
// instance holds exactly the saved state. Elements and parameters the set does
// not have are passed over (a later version's state); a value of the wrong type
// for a parameter the set has makes the whole state unreadable. [ui-thread]
class ElementSetState {
public:
    struct Setting {
        std::shared_ptr<DSP::Element> element;
        uint32_t index;
        DSP::ParamValue value;
    };
    using Settings = std::vector<Setting>;

    static Util::TypedDictionary capture(const DSP::DSPSetImpl* set);
    // Nothing when `state` is not a "DSP State" dictionary this set can take.
    static std::optional<Settings> read(const DSP::DSPSetImpl* set, const Util::TypedDictionary& state);
    // The same from a whole state dictionary of the older layout.
    static std::optional<Settings> readOlderLayout(const DSP::DSPSetImpl* set, const Util::TypedDictionary& state);
    // Sets each value through the parameter's controller (which tells the
    // user interface), or the element where it has none.
    static void apply(const Settings& settings);
};
