#pragma once
#include "util/Trackable.h"

namespace Controller {

// Lets others learn when an object dies: `destroyed` is emitted as the last
// step of its destruction, with the object's address, which receivers may only
// compare (the object is gone by then). [ui-thread]
class DestructorObserver {
public:
    DestructorObserver() = default;
    DestructorObserver(const DestructorObserver&) = delete;
    DestructorObserver& operator=(const DestructorObserver&) = delete;
    virtual ~DestructorObserver() { destroyed(this); }

    Util::Signal<void(const DestructorObserver*)> destroyed;
};

} // namespace Controller
