#pragma once
#include "param/KeyValueCoding.h"
#include "util/Text.h"

#include <map>
#include <memory>

namespace DSP {

class Element;

// The registry of the elements of one plug-in instance, by name.
class DSPSetBase : public Controller::KeyValueCoding {
public:
    using ElementMap = std::map<Util::String, std::shared_ptr<Element>>;

    // Every element's command pump, in name order. [ui-thread]
    virtual void PumpAll() = 0;
    // Every element's parameter dispatch, in name order. [ui-thread]
    virtual void DispatchAll() = 0;
    // The element of that name, or empty. [any-thread]
    virtual std::shared_ptr<Element> FindElement(const Util::String& name) const = 0;
    virtual const ElementMap& GetElements() const = 0;
};

} // namespace DSP
