#pragma once
#include "util/Trackable.h"

#include <boost/noncopyable.hpp>

namespace Controller {

// Base of the controller objects (parameters and parameter sets): tracked as
// signal receivers, never copied.
class Object : public Trackable, private boost::noncopyable {
public:
    Object() = default;
    ~Object() override = default;
};

} // namespace Controller
