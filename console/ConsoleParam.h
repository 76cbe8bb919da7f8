#pragma once
#include "util/Text.h"

#include <functional>
#include <vector>

namespace Controller {
class ControllerSet;
}
namespace DSP {
class DSPSetImpl;
}

namespace ConsoleCommand {

// One parameter as the parameter commands see it: where it lives, its kind,
// its range and default as floats, and how to read and write it in those
// terms (a switch as 0 or 1, a list or a count as its number). [ui-thread]
struct ConsoleParam {
    Util::String element;       // the element's name, or the settings key of a configuration value
    Util::String type;          // "float", "bool" or "enum"
    Util::String name;
    Util::String serialization; // "param" (the instance's state), "config" (the configuration file) or "none"
    float minimum = 0.0f;
    float maximum = 0.0f;
    float defaultValue = 0.0f;
    bool whole = false; // only whole numbers between minimum and maximum
    std::function<float()> read;
    std::function<void(float)> write;

    // The range allows one value only.
    bool singleValue() const { return minimum == maximum; }

    // Every element parameter of the set, elements in the set's order.
    static std::vector<ConsoleParam> ofElements(DSP::DSPSetImpl* set);
    // The switches, numbers and lists of a set of configuration values kept
    // under `key` (texts are passed over).
    static std::vector<ConsoleParam> ofConfiguration(const Util::String& key, Controller::ControllerSet& set);
};

} // namespace ConsoleCommand
