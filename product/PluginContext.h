#pragma once
#include "core/ContextBase.h"
#include "util/Trackable.h"

namespace Context {

// The product's context: named values of any typed kind that parts of the
// instance keep with the saved state (they travel with the host's session, not
// with the user's settings). Its state is {"Properties": {name: value}}. [ui-thread]
class PluginContext final : public ContextBase {
public:
    void setProperty(const Util::String& name, Util::TypedValue value);
    // Null when there is none of that name.
    const Util::TypedValue* property(const Util::String& name) const { return properties_.find(name); }
    const Util::TypedDictionary& properties() const { return properties_; }

    Util::TypedDictionary getState() const override;
    // A state with a "Properties" dictionary, or without one (no properties).
    bool acceptsState(const Util::TypedDictionary& state) const override;
    void setState(const Util::TypedDictionary& state) override;

    // Emitted with the name of each property set, and with an empty name after
    // a whole state was taken.
    Util::Signal<void(const Util::String& name)> propertyChanged;

private:
    Util::TypedDictionary properties_;
};

} // namespace Context
