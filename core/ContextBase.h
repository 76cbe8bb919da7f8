#pragma once
#include "util/TypedValue.h"

namespace Context {

// The instance's context: what the instance keeps besides its element
// parameters, saved as "Context State" in the state chunk. Made by the
// product factory. [ui-thread]
class ContextBase {
public:
    virtual ~ContextBase() = default;

    virtual Util::TypedDictionary getState() const = 0;
    // Whether `state` is a state this context can take (checked before any part
    // of the instance changes).
    virtual bool acceptsState(const Util::TypedDictionary& state) const = 0;
    // Takes a state that acceptsState answered true for.
    virtual void setState(const Util::TypedDictionary& state) = 0;
};

} // namespace Context
