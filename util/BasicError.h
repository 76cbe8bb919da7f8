#pragma once
#include "util/BasicErrorBase.h"

namespace Util {

// Base of one concrete error kind; the template parameter is the kind itself,
// so that each kind is a distinct type that an ErrorVariant can tell apart.
template <typename Kind>
class BasicError : public BasicErrorBase {
protected:
    using BasicErrorBase::BasicErrorBase;
};

} // namespace Util
