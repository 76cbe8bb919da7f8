#pragma once
#include "util/Text.h"
#include "util/Trackable.h"

namespace UI {

// A named object of the user interface. As a Trackable, every slot it connects
// is dropped when it dies.
class Object : public Trackable {
public:
    explicit Object(Util::String name) : name_(std::move(name)) {}
    const Util::String& name() const { return name_; }
    void setName(Util::String name) { name_ = std::move(name); }

private:
    Util::String name_;
};

} // namespace UI
